#include "ScanController.h"

#include "Datagram.h"
#include "ErrorBox.h"
#include "ParamIds.h"
#include "ScanLimit.h"

#include <QApplication>

namespace olg {

namespace {

constexpr int ScanStartInterval = 10;
constexpr int ScanTickInterval = 250;
constexpr int ProgressStep = 10;

// The list index of the device whose reply this is, or -1.
int ListedSource(const DeviceList& devices, const QByteArray& datagram) {
    if (datagram.size() < static_cast<qsizetype>(HeaderSize))
        return -1;
    DeviceIdentity identity;
    std::copy_n(datagram.constData() + SourceOffset, identity.size(), identity.begin());
    return devices.Find(identity);
}

// What a device's row shows.
std::string ShownText(const TOLG& record) {
    return record.Value(param::DeviceName).AsText() + '\0' + record.Value(param::ModelName).AsText() + '\0' +
           record.SenderAddress + '\0' + record.Interface + '\0' + record.TypeValue().AsText();
}

} // namespace

ScanController::ScanController(TServeur& serveur, Prompts& prompts, DeviceList& devices, DeviceGrid& grid,
                               QWidget* window)
    : QObject(window), serveur_(serveur), prompts_(prompts), devices_(devices), grid_(grid),
      timer_(new QTimer(window)), progressBar_(new QProgressBar(window)) {
    timer_->setObjectName(QStringLiteral("Timer"));
    timer_->setInterval(ScanTickInterval);
    // The ticks keep their period: a coarse timer may fire up to 5% early.
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &ScanController::TimerTimer);

    progressBar_->setObjectName(QStringLiteral("ProgressBar"));
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(4);
    progressBar_->setStyleSheet(QStringLiteral("QProgressBar { border: none; background: transparent; }"
                                               "QProgressBar::chunk { background-color: navy; }"));
    progressBar_->hide();
}

void ScanController::ReportBindError() {
    ShowError(prompts_, ErrorConnection, serveur_.BindError());
}

void ScanController::Scan() {
    if (Scanning() && !background_)
        return;
    timer_->stop();
    background_ = false;
    emit Starting();
    // Nothing can be sent: say why once, rather than once per request.
    if (!serveur_.BindError().isEmpty()) {
        ReportBindError();
        return;
    }
    Start(false);
    progressBar_->setValue(0);
    progressBar_->show();
}

bool ScanController::BackgroundScan() {
    // Never two scans at once, and never under a dialog or an exchange: its replies are its own.
    if (Scanning() || !serveur_.BindError().isEmpty() || serveur_.Waiting() ||
        QApplication::activeModalWidget())
        return false;
    Start(true);
    return true;
}

void ScanController::Start(bool background) {
    background_ = background;
    if (live_)
        live_->ScanStarted(!background);
    tickCount_ = 0;
    timer_->setInterval(ScanStartInterval);
    timer_->start();
}

void ScanController::End() {
    progressBar_->hide();
    if (live_)
        live_->ScanEnded(!background_);
    background_ = false;
    emit Finished();
}

void ScanController::TimerTimer() {
    timer_->stop();
    if (tickCount_ >= DiscoveriesPerScan) {
        End();
        return;
    }
    progressBar_->setValue(tickCount_ * ProgressStep);
    timer_->setInterval(ScanTickInterval);
    ++tickCount_;
    serveur_.Discover(this, [this](const QString& sender, quint16 port, const QByteArray& datagram,
                                   bool complete) { DeviceReply(sender, port, datagram, complete); });
    // A broadcast that cannot leave has been reported; the next nine would only repeat it.
    if (serveur_.SendFailed()) {
        End();
        return;
    }
    timer_->start();
}

void ScanController::DeviceReply(const QString& sender, quint16 /*port*/, const QByteArray& datagram,
                                 bool complete) {
    const bool overflowed = devices_.Overflowed();
    // A background scan mostly hears again what the grid shows: a row that would not change is not
    // written again, so that thousands of answers cost little.
    const int known = background_ ? ListedSource(devices_, datagram) : -1;
    const std::string shownBefore = known >= 0 ? ShownText(devices_.At(known)) : std::string();
    const int index = devices_.MergeReply(
        sender.toStdString(), reinterpret_cast<const std::uint8_t*>(datagram.constData()),
        static_cast<std::size_t>(datagram.size()), serveur_.ReplyInterface().toStdString());
    // Said once per scan, after this reply: a modal box must not hold up the delivery of the replies.
    if (!overflowed && devices_.Overflowed())
        QTimer::singleShot(0, this,
                           [this] { prompts_.ShowWarning(IgnoredDevicesWarning(devices_.Capacity())); });
    if (index >= 0 && live_)
        live_->DeviceAnswered(index);
    if (index >= 0 && complete && (index != known || ShownText(devices_.At(index)) != shownBefore))
        ShowDevice(index);
}

void ScanController::ShowDevice(int index) {
    grid_.ShowRow(index);
    emit DeviceShown(index);
}

} // namespace olg
