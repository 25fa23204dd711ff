#include "ConfigPage.h"

#include "ComponentOwner.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include <algorithm>

namespace olg {

ConfigPage::ConfigPage(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex)
    : owner_(owner) {
    if (pageControl != nullptr)
        pageControl->insertTab(pageIndex, this, caption);
    Register(this);
}

void ConfigPage::Register(QObject* control) {
    owner_.AddComponent(control);
}

QLabel* ConfigPage::CreateLabel(const QString& text, QWidget* parent) {
    auto* label = Create<QLabel>(parent);
    label->setText(text);
    return label;
}

QGroupBox* ConfigPage::CreateGroupBox(const QString& title, QWidget* parent, QGridLayout** grid) {
    auto* box = Create<QGroupBox>(parent);
    box->setTitle(title);
    *grid = new QGridLayout(box);
    return box;
}

void ConfigPage::ShowAsPassword(QLineEdit* edit) {
    edit->setEchoMode(QLineEdit::Password);
    edit->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
}

void ConfigPage::AlignFirstColumns(std::initializer_list<QGridLayout*> grids) {
    int width = 0;
    for (QGridLayout* grid : grids) {
        for (int index = 0; index < grid->count(); ++index) {
            int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
            grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
            // A label spanning several columns does not set the first column's width.
            if (column == 0 && columnSpan == 1)
                width = std::max(width, grid->itemAt(index)->sizeHint().width());
        }
    }
    for (QGridLayout* grid : grids)
        grid->setColumnMinimumWidth(0, width);
}

} // namespace olg
