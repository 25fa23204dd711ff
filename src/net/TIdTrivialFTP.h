#pragma once

#include "TftpSettings.h"
#include "TransferWork.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QIODevice>
#include <QObject>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

class QFile;

namespace olg {

class BlockingUdpSocket;

// A client of the Trivial File Transfer Protocol with the block-size option, as the firmware upgrade uses it:
// put a local file to a server and get a server file back into a local file. Every transfer uses a socket of
// its own, closed when it ends. The packets go back and forth on a worker thread while the caller's event
// loop runs, so windows stay alive and the event loop costs nothing per packet.
class TIdTrivialFTP : public QObject {
    Q_OBJECT

public:
    // What ended a transfer. The server's error codes 0..8 map to the kinds of the same value.
    enum class ErrorKind {
        None = -1,
        Generic = 0,
        FileNotFound = 1,
        AccessViolation = 2,
        AllocationExceeded = 3,
        IllegalOperation = 4,
        UnknownTransferId = 5,
        FileAlreadyExists = 6,
        NoSuchUser = 7,
        OptionNegotiationFailed = 8,
        Timeout = 100,
        UnexpectedOperation,
        LocalFile,
        Network,
    };

    explicit TIdTrivialFTP(const TftpSettings& settings = {}, QObject* parent = nullptr);
    ~TIdTrivialFTP() override;

    // The server's IPv4 address as dotted text.
    void SetHost(const QString& host) { host_ = host; }
    const QString& Host() const { return host_; }

    // Both return false with ErrorText() and Error() set when the transfer failed. The three accessors below
    // describe the latest transfer once it has returned.
    bool Put(const QString& localFile, const QString& remoteName);
    bool Get(const QString& remoteName, const QString& localFile);

    ErrorKind Error() const { return error_; }
    const QString& ErrorText() const { return errorText_; }
    // The block size of the latest transfer: 512, or what the server's option acknowledgement named.
    int BlockSize() const { return blockSize_; }

signals:
    // Put: the bytes to send; get: 0, the size is not known beforehand.
    void WorkBegin(olg::WorkMode mode, qint64 count);
    // The bytes sent or stored since the work began: every few milliseconds while blocks go on, and once
    // with the final count after the last block (also an empty one).
    void Work(olg::WorkMode mode, qint64 total);
    // At the end of every transfer, also one that failed.
    void WorkEnd(olg::WorkMode mode);

private:
    // Data views the socket's buffer until the next Receive.
    struct Packet {
        QByteArrayView Data;
        quint32 Sender = 0;
        quint16 Port = 0;
    };

    bool Begin(QFile& file, QIODevice::OpenMode mode);
    // Runs the exchange on a worker thread; the caller's events and the progress signals go on meanwhile.
    void RunExchange(WorkMode mode, const std::function<void()>& exchange);
    // The exchanges themselves, on the worker thread: no signals, progress through progress_.
    void PutBlocks(QFile& file, const QString& remoteName);
    // The number of the last block when it arrived.
    std::optional<quint16> GetBlocks(QFile& file, const QString& remoteName);
    bool SendRequest(quint16 opcode, const QString& remoteName);
    void SendTo(const QByteArray& packet);
    // The next packet of the server, or nothing when the wait ran out (or the socket failed: see error_).
    std::optional<Packet> Receive(int timeoutMs);
    bool TakeOptions(QByteArrayView packet);
    bool Fail(ErrorKind kind, const QString& text);
    bool FailFromPacket(QByteArrayView packet);
    void SendError(quint16 code, const QString& message);
    void LingerForLastBlock(quint16 number);
    QString ServerText() const;
    QString TimeoutText() const;

    TftpSettings settings_;
    QString host_;
    std::unique_ptr<BlockingUdpSocket> socket_;
    quint32 server_ = 0;
    quint32 peer_ = 0;
    quint16 peerPort_ = 0;
    // The bytes of the blocks so far, -1 before the first.
    std::atomic<qint64> progress_ = -1;
    int blockSize_ = 512;
    ErrorKind error_ = ErrorKind::None;
    QString errorText_;
};

} // namespace olg
