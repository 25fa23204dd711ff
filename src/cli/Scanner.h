#pragma once

#include "DeviceList.h"
#include "TServeur.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <functional>

class QEventLoop;

namespace olg::cli {

// The scan of the desktop program, run to its end: ten discovery broadcasts, the first after 10 ms and then
// one every 250 ms, and a last 250 ms for late replies. Every reply is merged into the device list, in the
// order of the devices' first replies.
class Scanner : public QObject {
    Q_OBJECT

public:
    static constexpr int Broadcasts = 10;
    static constexpr int FirstTickMs = 10;
    static constexpr int TickMs = 250;

    Scanner(TServeur& serveur, DeviceList& devices, QObject* parent = nullptr);

    // Empties the list and scans; returns when the scan is over, the event loop running meanwhile.
    void Run();
    // Ends the scan early once a reply merged at this list index is the one looked for: no further broadcast
    // is sent, and the scan ends when the next would have been, so that the other devices' replies to the
    // last broadcast have come in (they would otherwise end the wait of the next request).
    void StopWhen(std::function<bool(int index)> found) { found_ = std::move(found); }
    // Ends a running scan at once: Run returns.
    void Finish();

    // Figures of the last scan, for the benchmark.
    qint64 DatagramCount() const { return datagrams_; }
    // Time spent in merging replies into the list, all datagrams together.
    qint64 MergeNanoseconds() const { return mergeNs_; }
    // From the first broadcast to the reply that added the last new device; -1 without any device.
    qint64 LastNewDeviceNanoseconds() const { return lastNewDeviceNs_; }

private:
    void Tick();
    void Merge(const QString& sender, const QByteArray& datagram);

    TServeur& serveur_;
    DeviceList& devices_;
    std::function<bool(int)> found_;
    bool foundOne_ = false;
    QTimer timer_;
    QEventLoop* loop_ = nullptr;
    int ticks_ = 0;
    QElapsedTimer sinceFirstBroadcast_;
    qint64 datagrams_ = 0;
    qint64 mergeNs_ = 0;
    qint64 lastNewDeviceNs_ = -1;
};

} // namespace olg::cli
