#include "DeviceFilterBar.h"

#include <QHBoxLayout>
#include <QShortcut>
#include <QStyle>

namespace olg {

DeviceFilterBar::DeviceFilterBar(QWidget* window, QWidget* rows)
    : QWidget(window), edit_(new QLineEdit(this)), note_(new QLabel(window)) {
    auto* layout = new QHBoxLayout(this);
    const int margin = window->style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    edit_->setObjectName(QStringLiteral("FilterEdit"));
    edit_->setPlaceholderText(tr("Filter by name, type, IP or MAC address"));
    edit_->setClearButtonEnabled(true);
    layout->addWidget(edit_);
    // Enter goes on to the rows found.
    connect(edit_, &QLineEdit::returnPressed, rows, qOverload<>(&QWidget::setFocus));
    setTabOrder(edit_, rows);
    // The rows keep the focus the window starts with.
    rows->setFocus();
    auto* find = new QShortcut(QKeySequence::Find, window);
    connect(find, &QShortcut::activated, this, [this] {
        edit_->setFocus(Qt::ShortcutFocusReason);
        edit_->selectAll();
    });
    note_->setObjectName(QStringLiteral("FilterNote"));
    note_->hide();
}

void DeviceFilterBar::ShowCount(int shown, int total) {
    note_->setText(tr("%1 of %2 devices shown").arg(shown).arg(total));
    note_->setVisible(!edit_->text().trimmed().isEmpty());
}

} // namespace olg
