#pragma once

#include "Prompts.h"
#include "TServeur.h"

#include <QObject>
#include <QProgressBar>
#include <QTimer>

namespace olg {

// The scan: ten discovery requests, 10 ms after the click and then every 250 ms, with the progress bar
// below the grid. Every reply goes to the window's one reply handler.
class ScanController : public QObject {
    Q_OBJECT

public:
    static constexpr int DiscoveriesPerScan = 10;

    ScanController(TServeur& serveur, Prompts& prompts, TServeur::ReplyHandler replyHandler, QWidget* window);

    QProgressBar* ProgressBar() const { return progressBar_; }
    bool Scanning() const { return timer_->isActive(); }

    // Starts a scan unless one runs; the list is emptied first (Starting).
    void Scan();
    void TimerTimer();
    // Says why nothing can be sent, when the exchange's port could not be bound.
    void ReportBindError();

signals:
    void Starting();
    // The scan sent its last request, or could not send.
    void Finished();

private:
    TServeur& serveur_;
    Prompts& prompts_;
    TServeur::ReplyHandler replyHandler_;
    QTimer* timer_;
    QProgressBar* progressBar_;
    // Ticks of the running scan.
    int tickCount_ = 0;
};

} // namespace olg
