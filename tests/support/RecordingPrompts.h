#pragma once

#include "Prompts.h"

#include <QStringList>

namespace olg::testing {

// Records every message instead of showing it, so that a test can assert what the user would have seen.
class RecordingPrompts : public Prompts {
public:
    void ShowError(const QString& message) override { errors.append(message); }
    void ShowWarning(const QString& message) override { warnings.append(message); }
    // File dialogs are answered from fileAnswers in order (an empty text once they run out) and recorded
    // by caption.
    QString AskOpenFileName(const QString& caption, const QString&, const QString&) override {
        return AnswerFileDialog(caption);
    }
    QString AskSaveFileName(const QString& caption, const QString&, const QString&) override {
        return AnswerFileDialog(caption);
    }

    QStringList errors;
    QStringList warnings;
    QStringList fileDialogs;
    QStringList fileAnswers;

private:
    QString AnswerFileDialog(const QString& caption) {
        fileDialogs.append(caption);
        return fileAnswers.isEmpty() ? QString() : fileAnswers.takeFirst();
    }
};

} // namespace olg::testing
