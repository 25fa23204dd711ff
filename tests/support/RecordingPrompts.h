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
    QString AskOpenFileName(const FileDialogRequest& request) override { return Answer(true, request); }
    QString AskSaveFileName(const FileDialogRequest& request) override { return Answer(false, request); }
    bool AskYesNo(const QString& question) override {
        questions.append(question);
        return !yesNoAnswers.isEmpty() && yesNoAnswers.takeFirst();
    }
    // Answered from upgradeAnswers; with none left the user chose Return.
    bool ConfirmUpgrade(const QString& warning) override {
        upgradeWarnings.append(warning);
        return !upgradeAnswers.isEmpty() && upgradeAnswers.takeFirst();
    }

    struct FileDialog {
        bool Open = false;
        FileDialogRequest Request;
    };

    QStringList errors;
    QStringList warnings;
    QList<FileDialog> fileDialogs;
    // The file names the dialogs answer, in order; an empty one, or none left, cancels.
    QStringList fileAnswers;
    QStringList questions;
    // The answers to the yes-no questions, in order; none left answers no.
    QList<bool> yesNoAnswers;
    QStringList upgradeWarnings;
    QList<bool> upgradeAnswers;

private:
    QString Answer(bool open, const FileDialogRequest& request) {
        fileDialogs.append({open, request});
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

} // namespace olg::testing
