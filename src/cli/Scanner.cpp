#include "Scanner.h"

#include <QEventLoop>

namespace olg::cli {

Scanner::Scanner(TServeur& serveur, DeviceList& devices, QObject* parent)
    : QObject(parent), serveur_(serveur), devices_(devices) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &Scanner::Tick);
}

void Scanner::Run() {
    devices_.Clear();
    ticks_ = 0;
    foundOne_ = false;
    datagrams_ = 0;
    mergeNs_ = 0;
    lastNewDeviceNs_ = -1;
    QEventLoop loop;
    loop_ = &loop;
    timer_.start(FirstTickMs);
    loop.exec();
    loop_ = nullptr;
}

void Scanner::Tick() {
    if (ticks_ >= Broadcasts || foundOne_) {
        Finish();
        return;
    }
    if (ticks_ == 0)
        sinceFirstBroadcast_.start();
    ++ticks_;
    serveur_.Discover(this, [this](const QString& sender, quint16, const QByteArray& datagram, bool) {
        Merge(sender, datagram);
    });
    timer_.start(TickMs);
}

void Scanner::Merge(const QString& sender, const QByteArray& datagram) {
    const std::string address = sender.toStdString();
    const int before = devices_.Size();
    QElapsedTimer merge;
    merge.start();
    const int index =
        devices_.MergeReply(address, reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                            static_cast<std::size_t>(datagram.size()));
    mergeNs_ += merge.nsecsElapsed();
    ++datagrams_;
    if (devices_.Size() > before)
        lastNewDeviceNs_ = sinceFirstBroadcast_.nsecsElapsed();
    if (index >= 0 && found_ && found_(index))
        foundOne_ = true;
}

void Scanner::Finish() {
    timer_.stop();
    if (loop_)
        loop_->quit();
}

} // namespace olg::cli
