#pragma once

#include "Prompts.h"

#include <QList>
#include <QStringList>

namespace olg::testing {

// Records every message instead of showing it, so that a test can assert what the user would have seen.
class RecordingPrompts : public Prompts {
public:
    void ShowError(const QString& message) override { errors.append(message); }
    void ShowWarning(const QString& message) override { warnings.append(message); }
    // Answered from the queues below; with nothing queued the user cancelled.
    QString ChooseFileToOpen(const QString& title, const QString&, const QString&, const QString&) override {
        fileDialogs.append(title);
        return fileChoices.isEmpty() ? QString() : fileChoices.takeFirst();
    }
    bool ConfirmUpgrade(const QString& warning) override {
        upgradeWarnings.append(warning);
        return !upgradeAnswers.isEmpty() && upgradeAnswers.takeFirst();
    }

    QStringList errors;
    QStringList warnings;
    QStringList fileDialogs;
    QStringList fileChoices;
    QStringList upgradeWarnings;
    QList<bool> upgradeAnswers;
};

} // namespace olg::testing
