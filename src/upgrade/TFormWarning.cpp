#include "TFormWarning.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace olg {

TFormWarning::TFormWarning(const QString& warning, QWidget* owner) : QDialog(owner) {
    setObjectName(QStringLiteral("FormWarning"));
    setWindowTitle(tr("Warning"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    picture_ = new QLabel(this);
    picture_->setObjectName(QStringLiteral("Image1"));
    picture_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(32, 32));
    picture_->setAlignment(Qt::AlignTop);
    text_ = new QLabel(this);
    text_->setObjectName(QStringLiteral("Label1"));
    text_->setTextFormat(Qt::PlainText);
    // The program's text has Windows line ends; a label breaks lines at LF alone.
    text_->setText(QString(warning).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    text_->setAlignment(Qt::AlignCenter);

    button1_ = new QPushButton(tr("Upgrade"), this);
    button1_->setObjectName(QStringLiteral("Button1"));
    button2_ = new QPushButton(tr("Return"), this);
    button2_->setObjectName(QStringLiteral("Button2"));
    button1_->setAutoDefault(false);
    button2_->setDefault(true);
    connect(button1_, &QPushButton::clicked, this, &QDialog::accept);
    connect(button2_, &QPushButton::clicked, this, &QDialog::reject);

    auto* message = new QHBoxLayout;
    message->addWidget(picture_);
    message->addWidget(text_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(button1_);
    buttons->addWidget(button2_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(message);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setTabOrder(button2_, button1_);
}

void TFormWarning::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred over the window that asked.
    if (QWidget* owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
    button2_->setFocus();
}

} // namespace olg
