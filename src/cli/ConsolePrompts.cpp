#include "ConsolePrompts.h"

#include "TerminalText.h"

namespace olg::cli {

QTextStream& ConsolePrompts::Err() {
    if (progress_)
        progress_->Clear();
    return err_;
}

void ConsolePrompts::ShowError(const QString& message) {
    ++errorCount_;
    ++messageCount_;
    lastMessage_ = message;
    Err() << "olgctl: " << TerminalText(message) << Qt::endl;
}

void ConsolePrompts::ShowWarning(const QString& message) {
    ++messageCount_;
    lastMessage_ = message;
    Err() << "olgctl: warning: " << TerminalText(message) << Qt::endl;
}

bool ConsolePrompts::ConfirmUpgrade(const QString& warning) {
    return ConfirmBulkUpgrade(warning, {});
}

bool ConsolePrompts::ConfirmBulkUpgrade(const QString& warning, const QStringList& devices) {
    Err() << warning << Qt::endl;
    if (devices.size() > 1)
        ListDevices(devices);
    return AskYesNo(devices.size() > 1
                        ? QStringLiteral("Upgrade the firmware of %1 devices?").arg(devices.size())
                        : QStringLiteral("Upgrade the firmware?"));
}

void ConsolePrompts::ListDevices(const QStringList& devices) {
    constexpr qsizetype Shown = 10;
    for (const QString& device : devices.mid(0, Shown))
        Err() << "  " << TerminalText(device) << Qt::endl;
    if (devices.size() > Shown)
        Err() << "  and " << devices.size() - Shown << " more" << Qt::endl;
}

bool ConsolePrompts::AskYesNo(const QString& question) {
    Err() << "olgctl: " << TerminalText(question) << " [y/N] " << Qt::flush;
    if (!in_) {
        Err() << Qt::endl;
        return false;
    }
    const QString answer = in_->readLine().trimmed().toLower();
    return answer == QLatin1String("y") || answer == QLatin1String("yes");
}

} // namespace olg::cli
