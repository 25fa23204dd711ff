#pragma once

#include "DeviceFaults.h"
#include "DeviceFiles.h"

#include <QHostAddress>
#include <QObject>
#include <QUdpSocket>

namespace olg::sim {

// A simulated device's TFTP service: a put of "/" stores the firmware image, a get of "/" returns it. The
// block-size option is honoured; the device's fault switches make it misbehave.
class TftpServer : public QObject {
    Q_OBJECT

public:
    TftpServer(const QHostAddress& address, quint16 port, const DeviceFaults& faults, DeviceFiles& files,
               QObject* parent = nullptr);

    // False with the reason when the port cannot be bound.
    bool Start(QString* error);
    quint16 Port() const { return socket_.localPort(); }

signals:
    void ImageStored();

private:
    void ReadRequests();

    QHostAddress address_;
    quint16 port_;
    DeviceFaults faults_;
    DeviceFiles& files_;
    QUdpSocket socket_;
};

} // namespace olg::sim
