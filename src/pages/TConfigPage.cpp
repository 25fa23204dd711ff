#include "TConfigPage.h"

#include "ComponentOwner.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>

namespace olg {

TConfigPage::TConfigPage(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption,
                         int pageIndex)
    : owner_(owner) {
    if (pageControl != nullptr)
        pageControl->insertTab(pageIndex, this, caption);
    Register(this);
}

void TConfigPage::Register(QObject* control) {
    owner_.AddComponent(control);
}

QLabel* TConfigPage::CreateLabel(const QString& text, QWidget* parent) {
    auto* label = Create<QLabel>(parent);
    label->setText(text);
    return label;
}

QGroupBox* TConfigPage::CreateGroupBox(const QString& title, QWidget* parent, QGridLayout** grid) {
    auto* box = Create<QGroupBox>(parent);
    box->setTitle(title);
    *grid = new QGridLayout(box);
    return box;
}

void TConfigPage::ShowAsPassword(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

void TConfigPage::AlignFirstColumns(std::initializer_list<QGridLayout*> grids) {
    int width = 0;
    for (QGridLayout* grid : grids) {
        for (int row = 0; row < grid->rowCount(); ++row) {
            QLayoutItem* item = grid->itemAtPosition(row, 0);
            const int span = item != nullptr ? grid->indexOf(item) : -1;
            int r = 0, c = 0, rowSpan = 0, columnSpan = 0;
            if (span >= 0)
                grid->getItemPosition(span, &r, &c, &rowSpan, &columnSpan);
            if (item != nullptr && columnSpan == 1)
                width = std::max(width, item->sizeHint().width());
        }
    }
    for (QGridLayout* grid : grids)
        grid->setColumnMinimumWidth(0, width);
}

} // namespace olg
