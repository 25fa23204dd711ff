#include "WidgetPrompts.h"

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
    box.exec();
}

} // namespace olg
