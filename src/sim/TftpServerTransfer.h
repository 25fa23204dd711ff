#pragma once

#include "DeviceFaults.h"
#include "DeviceFiles.h"

#include <QByteArray>
#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <QUdpSocket>

namespace olg::sim {

// One read or write of a simulated device's TFTP service, on a socket (transfer identity) of its own. It
// sends its latest packet again when the client keeps silent, and deletes itself when done or abandoned.
class TftpServerTransfer : public QObject {
    Q_OBJECT

public:
    struct Request {
        bool Write = false;
        QByteArray FileName;
        int BlockSize = 512;
        bool BlockSizeOffered = false;
        QHostAddress Client;
        quint16 ClientPort = 0;
    };

    TftpServerTransfer(const Request& request, const QHostAddress& local, const DeviceFaults& faults,
                       DeviceFiles& files, QObject* parent);

signals:
    void ImageStored();

private:
    void Send(const QByteArray& packet);
    void ReadPending();
    void OnPacket(const QByteArray& packet);
    void SendBlock();
    void Resend();
    void Finish();

    Request request_;
    DeviceFaults faults_;
    DeviceFiles& files_;
    QUdpSocket socket_;
    QTimer resend_;
    int tries_ = 0;
    QByteArray last_;
    QByteArray received_;
    QByteArray image_;
    quint16 block_ = 0;
    qint64 blocksSent_ = 0;
    bool done_ = false;
};

} // namespace olg::sim
