#pragma once

#include "FileDialogFolders.h"
#include "Prompts.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <optional>

namespace olg {

// The desktop program's prompts: modal message boxes over the main window. Messages often quote device
// texts, so they are always shown as plain text.
class WidgetPrompts : public Prompts {
public:
    explicit WidgetPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    // The window the boxes are centred on; set once the main window exists.
    void SetParent(QWidget* parent) { parent_ = parent; }
    // Where the file dialogs remember the last folder of each kind of file.
    void SetSettings(SettingsStore& settings) { folders_.emplace(settings); }

    void ShowError(const QString& message) override;
    void ShowWarning(const QString& message) override;
    QString AskOpenFileName(const FileDialogRequest& request) override;
    QString AskSaveFileName(const FileDialogRequest& request) override;
    // The upgrade's own warning dialog, over the main window.
    bool ConfirmUpgrade(const QString& warning) override;

private:
    void Show(QMessageBox::Icon icon, const QString& message);
    QString AskFileName(const FileDialogRequest& request, bool open);

    QPointer<QWidget> parent_;
    std::optional<FileDialogFolders> folders_;
};

} // namespace olg
