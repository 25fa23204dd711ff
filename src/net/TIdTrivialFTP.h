#pragma once

#include "BlockingUdpSocket.h"
#include "TftpSettings.h"
#include "TransferWork.h"

#include <QIODevice>
#include <QObject>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <vector>

class QEventLoop;
class QFile;

namespace olg {

class TftpTransfer;

// A client of the Trivial File Transfer Protocol with the block-size option, as the firmware upgrade uses it:
// put a local file to a server and get a server file back into a local file. Every transfer uses a socket of
// its own, closed when it ends. The packets go back and forth on a worker thread while the caller's event
// loop runs, so windows stay alive and the event loop costs nothing per packet; the decisions are the core's
// TftpPut and TftpGet.
class TIdTrivialFTP : public QObject {
    Q_OBJECT

public:
    using ErrorKind = TftpErrorKind;

    explicit TIdTrivialFTP(const TftpSettings& settings = {}, QObject* parent = nullptr);
    // Waits for the end of a get's stay for a repeated last block, so no transfer outlives its client.
    ~TIdTrivialFTP() override;

    // The server's IPv4 address as dotted text.
    void SetHost(const QString& host) { host_ = host; }
    const QString& Host() const { return host_; }

    // Both return false with ErrorText() and Error() set when the transfer failed. The three accessors below
    // describe the latest transfer once it has returned.
    bool Put(const QString& localFile, const QString& remoteName);
    // maxBytes >= 0: a server file longer than that is refused to the server and fails with TooLong.
    bool Get(const QString& remoteName, const QString& localFile, qint64 maxBytes = -1);

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
    // The file's part of a Fill (put) or Store (get) step of the transfer; false ends it with the error set.
    using FileStep = std::function<bool(const BlockingUdpSocket::Datagram&)>;

    bool Begin(QFile& file, QIODevice::OpenMode mode, quint32* server);
    // Runs the transfer on a worker thread until it is complete or has failed; the caller's events and the
    // progress signals go on meanwhile. A get's worker then stays a moment on its own.
    void Run(WorkMode mode, const std::shared_ptr<TftpTransfer>& transfer, const FileStep& fileStep);
    // On the worker thread: the request, then every packet and time-out until the transfer is complete or
    // over. Without a file step only the repeat of a last block is answered, and nothing of ours is touched.
    bool Exchange(BlockingUdpSocket& socket, TftpTransfer& transfer,
                  std::chrono::steady_clock::time_point start, const FileStep* fileStep);
    void TakeOutcome(const TftpTransfer& transfer, WorkMode mode);
    bool Fail(ErrorKind kind, const QString& text);
    QString ServerText() const;

    TftpSettings settings_;
    QString host_;
    // The bytes of the blocks so far, -1 before the first.
    std::atomic<qint64> progress_ = -1;
    std::atomic<bool> released_ = false;
    QEventLoop* waiting_ = nullptr;
    // Workers still running: gets that wait for a repeated last block.
    std::vector<std::future<void>> workers_;
    int blockSize_ = 512;
    qint64 maxBytes_ = -1;
    ErrorKind error_ = ErrorKind::None;
    QString errorText_;
};

} // namespace olg
