#include "ConsolePrompts.h"

namespace olg::cli {

void ConsolePrompts::ShowError(const QString& message) {
    ++errorCount_;
    err_ << "olgctl: " << message << Qt::endl;
}

void ConsolePrompts::ShowWarning(const QString& message) {
    err_ << "olgctl: warning: " << message << Qt::endl;
}

} // namespace olg::cli
