#include "TOptionsForm.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace olg {

namespace {

// Room for a usual path without scrolling.
constexpr int PathCharacters = 48;

} // namespace

TOptionsForm::TOptionsForm(Prompts& prompts, QWidget* parent)
    : QDialog(parent), prompts_(prompts), macFile_(new QLineEdit(this)), browse_(new QToolButton(this)) {
    setObjectName(QStringLiteral("OptionsForm"));
    setWindowTitle(QStringLiteral("Options"));

    auto* label = new QLabel(QStringLiteral("MAC File"), this);
    label->setBuddy(macFile_);
    macFile_->setObjectName(QStringLiteral("MACFile"));
    macFile_->setMinimumWidth(macFile_->fontMetrics().averageCharWidth() * PathCharacters);
    browse_->setObjectName(QStringLiteral("MACFileBrowse"));
    browse_->setText(QStringLiteral("..."));
    browse_->setToolTip(QStringLiteral("Browse"));
    connect(browse_, &QToolButton::clicked, this, &TOptionsForm::Browse);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("OKButton"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("CancelButton"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* file = new QHBoxLayout;
    file->addWidget(label);
    file->addWidget(macFile_, 1);
    file->addWidget(browse_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addStretch(1);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(macFile_, browse_);
}

void TOptionsForm::Browse() {
    const QString chosen = prompts_.AskOpenFileName({QStringLiteral("MAC File"), macFile_->text(), {},
                                                     QStringLiteral("Text files (*.txt);;All files (*)")});
    if (!chosen.isEmpty())
        macFile_->setText(chosen);
}

} // namespace olg
