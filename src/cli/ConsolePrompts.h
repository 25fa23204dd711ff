#pragma once

#include "Prompts.h"

#include <QTextStream>

namespace olg::cli {

// The command-line face of the prompts: every message becomes a line on the error stream.
class ConsolePrompts : public Prompts {
public:
    explicit ConsolePrompts(QTextStream& err) : err_(err) {}

    void ShowError(const QString& message) override;
    void ShowWarning(const QString& message) override;
    // Prints the warning and reads the answer from the input (standard input unless set): yes or y goes on.
    bool ConfirmUpgrade(const QString& warning) override;

    void SetInput(QTextStream* in) { in_ = in; }

    // How many errors were shown, so that a command fails when the exchange reported one.
    int ErrorCount() const { return errorCount_; }

private:
    QTextStream& err_;
    QTextStream* in_ = nullptr;
    int errorCount_ = 0;
};

} // namespace olg::cli
