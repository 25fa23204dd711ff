#pragma once

#include <QString>

namespace olg {

// The window's caption, the settings' key, and part of the print job's and the about box's titles.
inline QString ApplicationTitle() {
    return QStringLiteral("eOutletGuard Finder");
}

} // namespace olg
