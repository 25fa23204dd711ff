#include "BulkUpgradeDialog.h"

#include "CollectingPrompts.h"
#include "DeviceResultTable.h"
#include "ErrorBox.h"
#include "NeighbourCache.h"
#include "ParallelJobs.h"
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
    const int count = static_cast<int>(targets_.size());
    auto* intro = new QLabel(
        count == 1 ? tr("%1 to the selected device.").arg(name)
        : count <= ParallelJobs::DefaultJobs
            ? tr("%1 to %2 devices at once.").arg(name).arg(count)
            : tr("%1 to %2 devices, %3 at a time.").arg(name).arg(count).arg(ParallelJobs::DefaultJobs),
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
    // Done here, on the window's thread, so that the upgrades need no platform service of their own.
    if (neighbours_) {
        for (const Target& target : targets_)
            neighbours_->DropEntry(target.Address);
    }
    const QPointer<BulkUpgradeDialog> self(this);
    const int count = static_cast<int>(targets_.size());
    std::vector<Outcome> outcomes(static_cast<std::size_t>(count));
    ParallelJobs(ParallelJobs::DefaultJobs)
        .Run(
            count,
            [&](int row) {
                Outcome& outcome = outcomes[static_cast<std::size_t>(row)];
                if (stopping_)
                    outcome.Text = tr("Not started");
                else
                    outcome = RunOne(row);
            },
            [&](int row) {
                if (!self)
                    return;
                const Outcome& outcome = outcomes[static_cast<std::size_t>(row)];
                if (outcome.Succeeded)
                    Bar(row)->setValue(100);
                else
                    Bar(row)->setRange(0, 100);
                table_->SetResult(row, outcome.Text, !outcome.Succeeded);
                succeeded_ += outcome.Succeeded ? 1 : 0;
            });
    if (!self)
        return;
    running_ = false;
    done_ = true;
    summary_->setText(tr("%1 of %2 devices upgraded.").arg(succeeded_).arg(targets_.size()));
    close_->setText(tr("Close"));
    close_->setEnabled(true);
    close_->setFocus();
    emit Finished();
}

BulkUpgradeDialog::Outcome BulkUpgradeDialog::RunOne(int row) {
    // On a worker thread: the widgets are reached through queued calls, each dropped if its widget is gone.
    CollectingPrompts prompts;
    TServeur lane(serveur_, prompts);
    UpgradeFlow flow(lane, prompts, nullptr, UpgradeSettings::For(serveur_.Settings()));
    const QPointer<QProgressBar> bar = Bar(row);
    const auto show = [this, row](const QString& text) {
        QMetaObject::invokeMethod(table_, [table = table_, row, text] { table->SetResult(row, text); });
    };
    qint64 size = 0;
    int shown = -1;
    const qint64 fileSize = QFileInfo(file_).size();
    connect(&flow, &UpgradeFlow::WorkBegin, &flow, [&](qint64 count) {
        // The image read back does not say its size: it is the one sent. Another of unknown size shows a
        // busy bar.
        size = count > 0 ? count : fileSize;
        shown = 0;
        QMetaObject::invokeMethod(bar, [bar, busy = size <= 0] {
            bar->setRange(0, busy ? 0 : 100);
            bar->setValue(0);
        });
    });
    connect(&flow, &UpgradeFlow::Work, &flow, [&](qint64 total) {
        const int percent = size > 0 ? static_cast<int>(std::min<qint64>(total * 100 / size, 100)) : 0;
        // A call per percent, not per block.
        if (percent != shown) {
            shown = percent;
            QMetaObject::invokeMethod(bar, [bar, percent] { bar->setValue(percent); });
        }
    });
    connect(&flow, &UpgradeFlow::FileLabelChanged, &flow, [&](const QString& text, bool visible) {
        if (visible && !text.isEmpty())
            show(text);
    });
    connect(&flow, &UpgradeFlow::WaitLabelShown, &flow, [&](bool waiting) {
        if (waiting)
            show(tr("Waiting end of programming ..."));
    });
    show(tr("Asking the device..."));
    flow.Run(targets_[row].Address, file_);
    const UpgradeFlow::Result& result = flow.LastResult();
    if (result.Succeeded)
        return {SuccessText(result.Mode), true};
    if (!prompts.Messages().isEmpty())
        return {prompts.Messages().join(QStringLiteral("; ")), false};
    if (result.Answered)
        return {tr("The device declined the upgrade"), false};
    return {result.Sent ? ErrorText(ErrorDeviceNotResponding) : tr("Not sent"), false};
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
