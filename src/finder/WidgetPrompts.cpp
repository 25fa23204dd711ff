#include "WidgetPrompts.h"

#include "TFormWarning.h"

#include <QFileDialog>
#include <QGuiApplication>

namespace olg {

void WidgetPrompts::ShowError(const QString& message) {
    Show(QMessageBox::Critical, message);
}

void WidgetPrompts::ShowWarning(const QString& message) {
    Show(QMessageBox::Warning, message);
}

void WidgetPrompts::Show(QMessageBox::Icon icon, const QString& message) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    // A message may name an address or a file the user wants to copy.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
}

QString WidgetPrompts::AskOpenFileName(const FileDialogRequest& request) {
    return AskFileName(request, true);
}

QString WidgetPrompts::AskSaveFileName(const FileDialogRequest& request) {
    return AskFileName(request, false);
}

QString WidgetPrompts::AskFileName(const FileDialogRequest& request, bool open) {
    QFileDialog dialog(parent_, request.Title, request.FileName, request.Filter);
    dialog.setObjectName(open ? QStringLiteral("OpenDialog") : QStringLiteral("SaveDialog"));
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(request.DefaultSuffix);
    // Saving a configuration into an existing file updates its own section and keeps the others: nothing
    // to confirm. A file written whole asks first.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.ConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

bool WidgetPrompts::ConfirmUpgrade(const QString& warning) {
    TFormWarning form(warning, parent_);
    return form.exec() == QDialog::Accepted;
}

} // namespace olg
