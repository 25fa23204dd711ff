#pragma once

#include "TOLG.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QUdpSocket>

#include <cstdint>
#include <string_view>

namespace olg::testing {

// Stands in for devices on loopback: listens on 127.0.0.2, which is not one of the host's listed addresses,
// so the exchange accepts what it sends; records every request and answers each one with the datagrams the
// test gave it.
class FakeDevice : public QObject {
    Q_OBJECT

public:
    explicit FakeDevice(QObject* parent = nullptr);

    static QHostAddress Address() { return QHostAddress(QStringLiteral("127.0.0.2")); }
    quint16 Port() const { return socket_.localPort(); }

    const QList<QByteArray>& Requests() const { return requests_; }
    // Sent back to the requester, in this order, after every request.
    void SetAnswers(const QList<QByteArray>& answers) { answers_ = answers; }
    // Sends a datagram unasked to the exchange listening on 127.0.0.1 at this port.
    void SendTo(quint16 port, const QByteArray& datagram);

    // A device's answer to a discovery: the source identity, then its name (7), model (5) and type code (13).
    static QByteArray Reply(const DeviceIdentity& source, std::string_view name, std::uint32_t typeCode,
                            std::string_view model = "eOutletGuard");
    static DeviceIdentity Mac(std::uint64_t mac);

signals:
    void RequestReceived();

private:
    void OnReadyRead();

    QUdpSocket socket_;
    QList<QByteArray> requests_;
    QList<QByteArray> answers_;
};

} // namespace olg::testing
