#pragma once

#include "DeviceGrid.h"
#include "DeviceList.h"
#include "LiveView.h"
#include "Prompts.h"
#include "TServeur.h"

#include <QObject>
#include <QProgressBar>
#include <QTimer>

namespace olg {

// The scan and the list it fills: ten discovery requests, 10 ms after the click and then every 250 ms, with
// the progress bar below the grid, and the one handler that merges every reply into the list and its grid.
// A background scan of the live view sends the same requests but keeps the list.
class ScanController : public QObject {
    Q_OBJECT

public:
    static constexpr int DiscoveriesPerScan = 10;

    ScanController(TServeur& serveur, Prompts& prompts, DeviceList& devices, DeviceGrid& grid,
                   QWidget* window);

    void SetLiveView(LiveView& live) { live_ = &live; }
    QProgressBar* ProgressBar() const { return progressBar_; }
    bool Scanning() const { return timer_->isActive(); }

    // Starts a scan that rebuilds the list (Starting first); it takes the place of a background scan.
    void Scan();
    // The same requests without rebuilding the list; false, with nothing sent, while a scan, a dialog or
    // another exchange is in progress.
    bool BackgroundScan();
    void TimerTimer();
    void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete);
    void ShowDevice(int index);
    // Says why nothing can be sent, when the exchange's port could not be bound.
    void ReportBindError();

signals:
    void Starting();
    // The scan sent its last request, or could not send.
    void Finished();
    void DeviceShown(int index);

private:
    void Start(bool background);
    void End();

    TServeur& serveur_;
    Prompts& prompts_;
    DeviceList& devices_;
    DeviceGrid& grid_;
    LiveView* live_ = nullptr;
    QTimer* timer_;
    QProgressBar* progressBar_;
    // Ticks of the running scan.
    int tickCount_ = 0;
    // The running scan keeps the list (a background scan of the live view).
    bool background_ = false;
};

} // namespace olg
