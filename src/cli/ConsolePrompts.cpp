#include "ConsolePrompts.h"

#include "TerminalText.h"

namespace olg::cli {

void ConsolePrompts::ShowError(const QString& message) {
    ++errorCount_;
    err_ << "olgctl: " << TerminalText(message) << Qt::endl;
}

void ConsolePrompts::ShowWarning(const QString& message) {
    err_ << "olgctl: warning: " << TerminalText(message) << Qt::endl;
}

} // namespace olg::cli
