#pragma once

#include "DeviceFaults.h"
#include "DeviceFiles.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QPointer>
#include <QTcpSocket>

namespace olg::sim {

// One control connection to a simulated device's FTP service: the login of the upgrade account, binary
// type, NLST, DELE and STOR in active mode (PORT). Deletes itself when the connection closes.
class FtpServerSession : public QObject {
    Q_OBJECT

public:
    FtpServerSession(QTcpSocket* control, const DeviceFaults& faults, DeviceFiles& files, QObject* parent);

signals:
    void StoreChanged();

private:
    void ReadCommands();
    void Execute(const QByteArray& verb, const QByteArray& argument);
    void Reply(const QByteArray& line);
    void SetPort(const QByteArray& argument);
    // Opens the data connection to the address of the latest PORT, then runs the transfer.
    void OpenData(bool sending, const QByteArray& payload, const QString& storeName);

    DeviceFaults faults_;
    DeviceFiles& files_;
    QTcpSocket* control_;
    QByteArray input_;
    QByteArray user_;
    bool userAccepted_ = false;
    bool loggedIn_ = false;
    QHostAddress dataAddress_;
    quint16 dataPort_ = 0;
    QPointer<QTcpSocket> data_;
};

} // namespace olg::sim
