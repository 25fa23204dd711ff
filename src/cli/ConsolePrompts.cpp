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

bool ConsolePrompts::ConfirmUpgrade(const QString& warning) {
    err_ << warning << Qt::endl << "Upgrade the firmware? [y/N] " << Qt::flush;
    static QTextStream standardInput(stdin);
    const QString answer = (in_ ? *in_ : standardInput).readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

} // namespace olg::cli
