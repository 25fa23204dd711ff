#include "TUpgradeForm.h"

#include "Prompts.h"
#include "ReadOnlyLook.h"
#include "TIPEdit.h"
#include "TServeur.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace olg {

namespace {

const char* const FileDialogTitle = QT_TRANSLATE_NOOP("olg::TUpgradeForm", "Choose the upgrade file");
const char* const FileFilters =
    QT_TRANSLATE_NOOP("olg::TUpgradeForm", "Upgrade files (*.bin *.BIN *.cfg *.CFG);;All files (*.*)");

} // namespace

TUpgradeForm::TUpgradeForm(TServeur& serveur, Prompts& prompts, NeighbourCache* neighbours,
                           QWidget* mainWindow)
    : QDialog(mainWindow), prompts_(prompts),
      flow_(serveur, prompts, neighbours, UpgradeSettings::For(serveur.Settings())) {
    setObjectName(QStringLiteral("UpgradeForm"));
    setWindowTitle(tr("Upgrade"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    CreateComponents();
    ConnectFlow();
}

void TUpgradeForm::CreateComponents() {
    groupBox1_ = new QGroupBox(tr(" Upgrade Parameters "), this);
    groupBox1_->setObjectName(QStringLiteral("GroupBox1"));
    label1_ = new QLabel(tr("Upgrade Filename"), groupBox1_);
    label1_->setObjectName(QStringLiteral("Label1"));
    upgradeFile_ = new QLineEdit(groupBox1_);
    upgradeFile_->setObjectName(QStringLiteral("UpgradeFile"));
    upgradeFile_->setMinimumWidth(upgradeFile_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    browse_ = new QToolButton(groupBox1_);
    browse_->setObjectName(QStringLiteral("UpgradeFileBrowse"));
    browse_->setText(tr("..."));
    browse_->setToolTip(tr(FileDialogTitle));
    label1_->setBuddy(upgradeFile_);
    label2_ = new QLabel(tr("IP Address"), groupBox1_);
    label2_->setObjectName(QStringLiteral("Label2"));
    upgradeIP_ = new TIPEdit(groupBox1_, &prompts_);
    upgradeIP_->setObjectName(QStringLiteral("UpgradeIP"));
    // Not a tab stop: the address is filled in from the selected device.
    for (int i = 0; i < 4; ++i)
        upgradeIP_->Box(i)->setFocusPolicy(Qt::ClickFocus);
    upgradeIP_->setFocusPolicy(Qt::NoFocus);

    auto* fileRow = new QHBoxLayout;
    fileRow->setSpacing(2);
    fileRow->addWidget(upgradeFile_, 1);
    fileRow->addWidget(browse_);
    auto* grid = new QGridLayout(groupBox1_);
    grid->addWidget(label1_, 0, 0);
    grid->addLayout(fileRow, 0, 1);
    grid->addWidget(label2_, 1, 0);
    grid->addWidget(upgradeIP_, 1, 1, Qt::AlignLeft);
    grid->setColumnStretch(1, 1);

    filelabel_ = new QLabel(this);
    filelabel_->setObjectName(QStringLiteral("filelabel"));
    filelabel_->setTextFormat(Qt::PlainText);
    filelabel_->setAlignment(Qt::AlignCenter);
    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setTextVisible(false);
    progressBar_->setStyleSheet(QStringLiteral("QProgressBar::chunk { background-color: navy; }"));
    waitLabel_ = new QLabel(tr("Waiting end of programming ..."), this);
    waitLabel_->setObjectName(QStringLiteral("WaitLabel"));
    waitLabel_->setAlignment(Qt::AlignCenter);
    // Hidden controls keep their room, so the dialog does not jump while a transfer runs.
    for (QWidget* widget : {static_cast<QWidget*>(filelabel_), static_cast<QWidget*>(progressBar_),
                            static_cast<QWidget*>(waitLabel_)}) {
        QSizePolicy policy = widget->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        widget->setSizePolicy(policy);
        widget->hide();
    }

    upgradeBtn_ = new QPushButton(tr("Upgrade"), this);
    upgradeBtn_->setObjectName(QStringLiteral("UpgradeBtn"));
    upgradeBtn_->setDefault(true);
    cancelBtn_ = new QPushButton(tr("Cancel"), this);
    cancelBtn_->setObjectName(QStringLiteral("CancelBtn"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(upgradeBtn_);
    buttons->addWidget(cancelBtn_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(groupBox1_);
    layout->addWidget(filelabel_);
    layout->addWidget(progressBar_);
    layout->addWidget(waitLabel_);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(upgradeBtn_, cancelBtn_);
    setTabOrder(cancelBtn_, upgradeFile_);
    setTabOrder(upgradeFile_, browse_);

    connect(upgradeFile_, &QLineEdit::textChanged, this, &TUpgradeForm::UpdateUpgradeButton);
    connect(browse_, &QToolButton::clicked, this, &TUpgradeForm::Browse);
    connect(upgradeBtn_, &QPushButton::clicked, this, &TUpgradeForm::UpgradeBtnClick);
    connect(cancelBtn_, &QPushButton::clicked, this, &TUpgradeForm::reject);
}

void TUpgradeForm::ConnectFlow() {
    connect(&flow_, &UpgradeFlow::BusyChanged, this, &TUpgradeForm::SetBusy);
    connect(&flow_, &UpgradeFlow::FileLabelChanged, this, [this](const QString& text, bool visible) {
        filelabel_->setText(text);
        filelabel_->setVisible(visible);
    });
    connect(&flow_, &UpgradeFlow::WorkBegin, this, &TUpgradeForm::FTPWorkBegin);
    connect(&flow_, &UpgradeFlow::Work, this, &TUpgradeForm::FTPWork);
    connect(&flow_, &UpgradeFlow::WorkEnd, this, &TUpgradeForm::FTPWorkEnd);
    connect(&flow_, &UpgradeFlow::ProgressHidden, progressBar_, &QWidget::hide);
    connect(&flow_, &UpgradeFlow::WaitLabelShown, this, [this](bool shown) {
        waitLabel_->setVisible(shown);
        repaint();
    });
}

void TUpgradeForm::PrepareUpgrade(const QString& address) {
    try {
        upgradeIP_->SetText(address);
    } catch (const std::invalid_argument&) {
        // A record's address is always dotted; anything else leaves the field empty.
        upgradeIP_->SetText(QString());
    }
    upgradeIP_->SetReadOnly(!fullFeatures_);
    ShowReadOnly(upgradeIP_, !fullFeatures_);
    UpdateUpgradeButton();
}

QDialog::DialogCode TUpgradeForm::ShowUpgrade(const QString& address) {
    PrepareUpgrade(address);
    return exec() == QDialog::Accepted ? QDialog::Accepted : QDialog::Rejected;
}

void TUpgradeForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (QWidget* owner = parentWidget()) {
        const QRect frame = owner->window()->geometry();
        move(frame.left() + (frame.width() - width()) / 2, frame.top() + (frame.height() - height()) / 2);
    }
    filelabel_->hide();
    // Upgrade comes first; while it is disabled the file is what the user needs next.
    if (upgradeBtn_->isEnabled())
        upgradeBtn_->setFocus();
    else
        upgradeFile_->setFocus();
}

void TUpgradeForm::UpdateUpgradeButton() {
    upgradeBtn_->setEnabled(!flow_.Busy() &&
                            UpgradeFlow::CanUpgrade(upgradeIP_->Text(), upgradeFile_->text()));
}

FileDialogRequest TUpgradeForm::FileRequest(const QString& fileName) {
    FileDialogRequest request;
    request.Title = tr(FileDialogTitle);
    request.FileName = fileName;
    request.DefaultSuffix = QStringLiteral("bin");
    request.Filter = tr(FileFilters);
    return request;
}

void TUpgradeForm::Browse() {
    const QString chosen = prompts_.AskOpenFileName(FileRequest(upgradeFile_->text()));
    if (chosen.isEmpty())
        return;
    upgradeFile_->setText(chosen);
    // Choosing the same file again re-evaluates the button too, as the address may have been typed since.
    UpdateUpgradeButton();
}

void TUpgradeForm::UpgradeBtnClick() {
    const QString address = upgradeIP_->Text();
    const QString file = upgradeFile_->text();
    if (flow_.Busy() || !UpgradeFlow::CanUpgrade(address, file))
        return;
    if (!fullFeatures_ && !prompts_.ConfirmUpgrade(UpgradeFlow::WarningText()))
        return;
    closeRequested_ = false;
    flow_.Run(address, file);
    if (closeRequested_) {
        closeRequested_ = false;
        done(flow_.LastResult().Succeeded ? QDialog::Accepted : QDialog::Rejected);
    }
}

void TUpgradeForm::SetBusy(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        upgradeBtn_->setEnabled(false);
    } else {
        QApplication::restoreOverrideCursor();
        upgradeBtn_->setEnabled(true);
    }
    cancelBtn_->setEnabled(!busy);
    browse_->setEnabled(!busy);
    upgradeFile_->setReadOnly(busy);
}

void TUpgradeForm::FTPWorkBegin(qint64 count) {
    // A bar's range is an int: larger files are counted in larger units.
    progressUnit_ = 1;
    while (count / progressUnit_ > std::numeric_limits<int>::max())
        progressUnit_ *= 1024;
    progressBar_->setRange(0, static_cast<int>(count / progressUnit_));
    progressBar_->setValue(0);
    progressBar_->show();
    repaint();
}

void TUpgradeForm::FTPWork(qint64 total) {
    if (progressBar_->maximum() > 0)
        progressBar_->setValue(
            static_cast<int>(std::min<qint64>(total / progressUnit_, progressBar_->maximum())));
    // A transfer may run without a turn of the event loop between two steps.
    progressBar_->repaint();
}

void TUpgradeForm::FTPWorkEnd() {
    if (flow_.LastResult().Mode == TransferMode::TftpImage)
        progressBar_->hide();
    closeRequested_ = true;
}

void TUpgradeForm::reject() {
    if (flow_.Busy())
        return;
    QDialog::reject();
}

} // namespace olg
