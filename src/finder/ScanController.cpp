#include "ScanController.h"

#include "ErrorBox.h"

namespace olg {

namespace {

constexpr int ScanStartInterval = 10;
constexpr int ScanTickInterval = 250;
constexpr int ProgressStep = 10;

} // namespace

ScanController::ScanController(TServeur& serveur, Prompts& prompts, TServeur::ReplyHandler replyHandler,
                               QWidget* window)
    : QObject(window), serveur_(serveur), prompts_(prompts), replyHandler_(std::move(replyHandler)),
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
    if (Scanning())
        return;
    emit Starting();
    // Nothing can be sent: say why once, rather than once per request.
    if (!serveur_.BindError().isEmpty()) {
        ReportBindError();
        emit Finished();
        return;
    }
    tickCount_ = 0;
    timer_->setInterval(ScanStartInterval);
    timer_->start();
    progressBar_->setValue(0);
    progressBar_->show();
}

void ScanController::TimerTimer() {
    timer_->stop();
    if (tickCount_ >= DiscoveriesPerScan) {
        progressBar_->hide();
        emit Finished();
        return;
    }
    progressBar_->setValue(tickCount_ * ProgressStep);
    timer_->setInterval(ScanTickInterval);
    ++tickCount_;
    serveur_.Discover(this, replyHandler_);
    // A broadcast that cannot leave has been reported; the next nine would only repeat it.
    if (serveur_.SendFailed()) {
        progressBar_->hide();
        emit Finished();
        return;
    }
    timer_->start();
}

} // namespace olg
