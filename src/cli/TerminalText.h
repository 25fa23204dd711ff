#pragma once

#include <QString>

namespace olg::cli {

// The text as a terminal may show it: control characters (C0, DEL and C1), which a device name may hold and
// which would move the cursor, ring, recolour or break a row, become \xHH. Everything else is kept.
QString TerminalText(const QString& text);

} // namespace olg::cli
