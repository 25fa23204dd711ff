#pragma once

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>

#include <deque>
#include <unordered_set>

namespace olg::sim {

// Sends the devices' replies from the one listening socket, each from the device's own source address
// (IP_PKTINFO), so that a fleet of thousands needs one socket, not one per device, and every reply still
// leaves from the listening port as a device's would.
class ReplySender : public QObject {
    Q_OBJECT
public:
    ReplySender(qintptr socket, QObject* parent = nullptr);

    // Source 0: let the system choose. A source that is not one of this host's addresses is dropped for good
    // and the system chooses (a device whose address was written to something foreign still answers).
    void Send(const QByteArray& datagram, quint32 source, const QHostAddress& destination, quint16 port);

    qint64 SentCount() const { return sent_; }

private:
    struct Pending {
        QByteArray Datagram;
        quint32 Source;
        quint32 Destination;
        quint16 Port;
    };
    enum class Result { Sent, Busy, Failed };

    Result SendNow(const Pending& item);
    void Retry();

    qintptr socket_;
    std::deque<Pending> queue_;
    QTimer retry_;
    std::unordered_set<quint32> foreignSources_;
    qint64 sent_ = 0;
};

} // namespace olg::sim
