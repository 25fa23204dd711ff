#include "BulkUpgradeDialog.h"

#include "CollectingPrompts.h"
#include "DeviceResultTable.h"
#include "ErrorBox.h"
#include "TServeur.h"
#include "UpgradeFlow.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace olg {

namespace {

enum Column { NameColumn, AddressColumn, ProgressColumn };

QString SuccessText(TransferMode mode) {
    switch (mode) {
    case TransferMode::TftpImage:
        return BulkUpgradeDialog::tr("Firmware sent and read back the same");
    case TransferMode::FtpImage:
        return BulkUpgradeDialog::tr("Firmware sent by FTP");
    case TransferMode::FtpFileSet:
        return BulkUpgradeDialog::tr("Files sent by FTP");
    case TransferMode::None:
        break;
    }
    return {};
}

} // namespace

BulkUpgradeDialog::BulkUpgradeDialog(TServeur& serveur, NeighbourCache* neighbours,
                                     const QList<Target>& targets, const QString& file, QWidget* owner)
    : QDialog(owner), serveur_(serveur), neighbours_(neighbours), targets_(targets), file_(file) {
    setObjectName(QStringLiteral("BulkUpgradeDialog"));
    setWindowTitle(tr("Upgrade Selected Devices"));
    const QString name = QFileInfo(file_).fileName();
    auto* intro = new QLabel(
        targets_.size() == 1 ? tr("%1 to the selected device.").arg(name)
                             : tr("%1 to %2 devices, one after the other.").arg(name).arg(targets_.size()),
        this);
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);
    table_ = new DeviceResultTable({tr("Device"), tr("IP Address"), tr("Progress"), tr("Result")}, this);
    table_->setObjectName(QStringLiteral("Devices"));
    for (const Target& target : targets_) {
        const int row = table_->AddRow({target.Caption, target.Address});
        auto* bar = new QProgressBar(table_);
        bar->setRange(0, 100);
        bar->setValue(0);
        table_->setCellWidget(row, ProgressColumn, bar);
    }
    table_->FitColumns();
    table_->horizontalHeader()->resizeSection(ProgressColumn, fontMetrics().averageCharWidth() * 16);
    table_->KeepWidth({SuccessText(TransferMode::TftpImage), tr("Waiting end of programming ...")});
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Summary"));
    close_ = new QPushButton(tr("Stop"), this);
    close_->setObjectName(QStringLiteral("CloseButton"));
    close_->setDefault(true);
    connect(close_, &QPushButton::clicked, this, [this] {
        if (running_)
            Stop();
        else
            accept();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(close_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);
}

QProgressBar* BulkUpgradeDialog::Bar(int row) const {
    return qobject_cast<QProgressBar*>(table_->cellWidget(row, ProgressColumn));
}

void BulkUpgradeDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!started_) {
        started_ = true;
        QTimer::singleShot(0, this, &BulkUpgradeDialog::Run);
    }
}

void BulkUpgradeDialog::Run() {
    running_ = true;
    const QPointer<BulkUpgradeDialog> self(this);
    for (int row = 0; row < targets_.size(); ++row) {
        if (stopping_) {
            table_->SetResult(row, tr("Not started"), true);
            continue;
        }
        table_->scrollToItem(table_->item(row, NameColumn));
        bool succeeded = false;
        const QString result = RunOne(row, &succeeded);
        if (!self)
            return;
        table_->SetResult(row, result, !succeeded);
        succeeded_ += succeeded ? 1 : 0;
    }
    running_ = false;
    done_ = true;
    summary_->setText(tr("%1 of %2 devices upgraded.").arg(succeeded_).arg(targets_.size()));
    close_->setText(tr("Close"));
    close_->setEnabled(true);
    close_->setFocus();
    emit Finished();
}

QString BulkUpgradeDialog::RunOne(int row, bool* succeeded) {
    CollectingPrompts prompts;
    UpgradeFlow flow(serveur_, prompts, neighbours_, UpgradeSettings::For(serveur_.Settings()));
    QProgressBar* bar = Bar(row);
    qint64 size = 0;
    const qint64 fileSize = QFileInfo(file_).size();
    connect(&flow, &UpgradeFlow::WorkBegin, bar, [bar, &size, fileSize](qint64 count) {
        // The image read back does not say its size: it is the one sent. Another of unknown size shows a
        // busy bar.
        size = count > 0 ? count : fileSize;
        bar->setRange(0, size > 0 ? 100 : 0);
        bar->setValue(0);
    });
    connect(&flow, &UpgradeFlow::Work, bar, [bar, &size](qint64 total) {
        if (size > 0)
            bar->setValue(static_cast<int>(std::min<qint64>(total * 100 / size, 100)));
    });
    connect(&flow, &UpgradeFlow::FileLabelChanged, table_, [this, row](const QString& text, bool visible) {
        if (visible && !text.isEmpty())
            table_->SetResult(row, text);
    });
    connect(&flow, &UpgradeFlow::WaitLabelShown, table_, [this, row](bool shown) {
        if (shown)
            table_->SetResult(row, tr("Waiting end of programming ..."));
    });
    table_->SetResult(row, tr("Asking the device..."));
    const QPointer<BulkUpgradeDialog> self(this);
    flow.Run(targets_[row].Address, file_);
    if (!self)
        return {};
    const UpgradeFlow::Result& result = flow.LastResult();
    bar->setRange(0, 100);
    *succeeded = result.Succeeded;
    if (result.Succeeded) {
        bar->setValue(100);
        return SuccessText(result.Mode);
    }
    if (!prompts.Messages().isEmpty())
        return prompts.Messages().join(QStringLiteral("; "));
    if (result.Answered)
        return tr("The device declined the upgrade");
    return result.Sent ? ErrorText(ErrorDeviceNotResponding) : tr("Not sent");
}

void BulkUpgradeDialog::Stop() {
    stopping_ = true;
    close_->setText(tr("Stopping..."));
    close_->setEnabled(false);
}

void BulkUpgradeDialog::reject() {
    if (running_)
        Stop();
    else
        QDialog::reject();
}

} // namespace olg
