#include "WidgetPrompts.h"

#include <QFileDialog>
#include <QGuiApplication>

namespace olg {

void WidgetPrompts::ShowError(const QString& message) {
    Show(QMessageBox::Critical, message);
}

void WidgetPrompts::ShowWarning(const QString& message) {
    Show(QMessageBox::Warning, message);
}

QString WidgetPrompts::AskOpenFileName(const QString& caption, const QString& filter, const QString& start) {
    return QFileDialog::getOpenFileName(parent_, caption, start, filter);
}

QString WidgetPrompts::AskSaveFileName(const QString& caption, const QString& filter,
                                       const QString& defaultSuffix) {
    QFileDialog dialog(parent_, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

void WidgetPrompts::Show(QMessageBox::Icon icon, const QString& message) {
    QMessageBox box(icon, QGuiApplication::applicationDisplayName(), message, QMessageBox::Ok, parent_);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace olg
