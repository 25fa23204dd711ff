#pragma once

#include "DeviceFaults.h"
#include "DeviceFiles.h"

#include <QHostAddress>
#include <QObject>
#include <QTcpServer>

namespace olg::sim {

// A simulated device's FTP service, where its newer firmware and its web pages are uploaded.
class FtpServer : public QObject {
    Q_OBJECT

public:
    FtpServer(const QHostAddress& address, quint16 port, const DeviceFaults& faults, DeviceFiles& files,
              QObject* parent = nullptr);

    // False with the reason when the port cannot be bound.
    bool Start(QString* error);
    quint16 Port() const { return server_.serverPort(); }

signals:
    void StoreChanged();

private:
    void Accept();

    QHostAddress address_;
    quint16 port_;
    DeviceFaults faults_;
    DeviceFiles& files_;
    QTcpServer server_;
};

} // namespace olg::sim
