#pragma once

#include <QStringList>

#include "ProgressLine.h"
#include "Prompts.h"

#include <QTextStream>

namespace olg::cli {

// The command-line face of the prompts: every message becomes a line on the error stream.
class ConsolePrompts : public Prompts {
public:
    // Questions are answered on the input stream; without one, every answer is no. A progress line on the
    // same terminal is cleared before each message.
    explicit ConsolePrompts(QTextStream& err, QTextStream* in = nullptr, ProgressLine* progress = nullptr)
        : err_(err), in_(in), progress_(progress) {}

    void ShowError(const QString& message) override;
    void ShowWarning(const QString& message) override;
    // Asks on the error stream, so that the output stays clean for scripts; "y" or "yes" is yes.
    bool AskYesNo(const QString& question) override;
    // Prints the warning, then asks as AskYesNo does.
    bool ConfirmUpgrade(const QString& warning) override;
    // Prints the warning once, then asks once for all of these devices, listed as ListDevices does.
    bool ConfirmBulkUpgrade(const QString& warning, const QStringList& devices);
    // The devices a question is about, one a line: the first ten, then how many more.
    void ListDevices(const QStringList& devices);

    // How many errors were shown, so that a command fails when the exchange reported one.
    int ErrorCount() const { return errorCount_; }
    // How many errors and warnings were shown, and the latest, for the result line of one device among
    // several.
    int MessageCount() const { return messageCount_; }
    QString LastMessage() const { return lastMessage_; }

private:
    QTextStream& Err();

    QTextStream& err_;
    QTextStream* in_;
    ProgressLine* progress_;
    int errorCount_ = 0;
    int messageCount_ = 0;
    QString lastMessage_;
};

} // namespace olg::cli
