#pragma once

#include <QString>

namespace olg::cli {

// The text of "olgctl --help", or of "olgctl VERB --help"; empty for an unknown verb.
QString HelpText(const QString& verb = {});

} // namespace olg::cli
