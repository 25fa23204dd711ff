#pragma once

#include <QString>
#include <QtGlobal>

#include <vector>

namespace olg {

// An IPv4 UDP socket of the system's own for a worker thread that waits on it with a time limit: no event
// loop and no notifier between the packets, so each costs one system call to send and one to receive.
class BlockingUdpSocket {
public:
    // A received datagram; Data points into the socket's buffer and stays valid until the next Receive.
    struct Datagram {
        const char* Data = nullptr;
        qsizetype Size = 0;
        quint32 Sender = 0; // host byte order, as QHostAddress::toIPv4Address()
        quint16 Port = 0;
    };
    enum class Wait { Received, TimedOut, Failed };

    // Datagrams longer than maxDatagram are cut to it.
    explicit BlockingUdpSocket(qsizetype maxDatagram);
    ~BlockingUdpSocket();
    BlockingUdpSocket(const BlockingUdpSocket&) = delete;
    BlockingUdpSocket& operator=(const BlockingUdpSocket&) = delete;

    // Bound to every local address on a port the system chooses.
    bool Open();
    bool SendTo(const char* data, qsizetype size, quint32 address, quint16 port);
    // Waits at most timeoutMs (0: only what is there already) for one datagram.
    Wait Receive(int timeoutMs, Datagram* datagram);
    int Descriptor() const { return descriptor_; }
    // The system's text for the latest failure.
    const QString& ErrorText() const { return errorText_; }

private:
    bool SetWait(int timeoutMs);
    bool FailWith(int code);

    int descriptor_ = -1;
    int waitMs_ = -1;
    std::vector<char> buffer_;
    QString errorText_;
};

} // namespace olg
