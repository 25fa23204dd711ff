#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QList>
#include <QNetworkDatagram>
#include <QObject>
#include <QUdpSocket>

#include <cstdint>

namespace olg::testing {

// A device stand-in on a loopback address: records every request it gets and, when told to, answers each one
// at once with a reply from a fixed MAC identity, to the request's source address and port.
class FakePeer : public QObject {
    Q_OBJECT

public:
    explicit FakePeer(const QHostAddress& address, QObject* parent = nullptr) : QObject(parent) {
        socket_.bind(address, 0, QAbstractSocket::DontShareAddress);
        connect(&socket_, &QUdpSocket::readyRead, this, &FakePeer::Read);
    }

    quint16 Port() const { return socket_.localPort(); }
    QHostAddress Address() const { return socket_.localAddress(); }

    // A reply from 00 01 + MAC with the given items (already encoded) and the end marker.
    static QByteArray Reply(std::uint64_t mac, const QByteArray& items = {}) {
        QByteArray datagram(25, '\0');
        datagram[8] = 0x00;
        datagram[9] = 0x01;
        for (int i = 0; i < 6; ++i)
            datagram[10 + i] = static_cast<char>((mac >> (8 * (5 - i))) & 0xFF);
        datagram[24] = 0x01;
        return datagram + items + QByteArray("\xFF\xFF", 2);
    }

    void SendTo(const QHostAddress& address, quint16 port, const QByteArray& datagram) {
        socket_.writeDatagram(datagram, address, port);
    }

    bool answers = false;
    // Answers discovery only: a device that was found and then fell silent.
    bool discoveryOnly = false;
    std::uint64_t mac = 0x00AABBCC0001ULL;
    // The encoded items of every reply.
    QByteArray items;
    QList<QByteArray> requests;

private:
    void Read() {
        while (socket_.hasPendingDatagrams()) {
            const QNetworkDatagram request = socket_.receiveDatagram();
            requests.append(request.data());
            const bool discovery = request.data().mid(2, 6) == QByteArray(6, '\xFF');
            if (answers && (discovery || !discoveryOnly))
                socket_.writeDatagram(Reply(mac, items), request.senderAddress(),
                                      static_cast<quint16>(request.senderPort()));
        }
    }

    QUdpSocket socket_;
};

} // namespace olg::testing
