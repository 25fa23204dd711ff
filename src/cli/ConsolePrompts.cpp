#include "ConsolePrompts.h"

#include "TerminalText.h"

namespace olg::cli {

void ConsolePrompts::ShowError(const QString& message) {
    ++errorCount_;
    ++messageCount_;
    lastMessage_ = message;
    err_ << "olgctl: " << TerminalText(message) << Qt::endl;
}

void ConsolePrompts::ShowWarning(const QString& message) {
    ++messageCount_;
    lastMessage_ = message;
    err_ << "olgctl: warning: " << TerminalText(message) << Qt::endl;
}

bool ConsolePrompts::ConfirmUpgrade(const QString& warning) {
    return ConfirmBulkUpgrade(warning, 1);
}

bool ConsolePrompts::ConfirmBulkUpgrade(const QString& warning, int devices) {
    err_ << warning << Qt::endl;
    return AskYesNo(devices > 1 ? QStringLiteral("Upgrade the firmware of %1 devices?").arg(devices)
                                : QStringLiteral("Upgrade the firmware?"));
}

bool ConsolePrompts::AskYesNo(const QString& question) {
    err_ << "olgctl: " << TerminalText(question) << " [y/N] " << Qt::flush;
    if (!in_) {
        err_ << Qt::endl;
        return false;
    }
    const QString answer = in_->readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

} // namespace olg::cli
