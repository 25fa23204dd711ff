#pragma once

#include "FtpReplyReader.h"
#include "FtpSettings.h"
#include "TransferWork.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QTcpServer;
class QTcpSocket;

namespace olg {

// A small FTP client for exactly what the firmware upgrade needs: log in, binary type, list names, delete
// and store, always in active mode (PORT). Each operation returns false with ErrorText() saying what failed
// and with which reply. While it waits, the event loop runs.
class TIdFTP : public QObject {
    Q_OBJECT

public:
    explicit TIdFTP(const FtpSettings& settings = {}, QObject* parent = nullptr);
    ~TIdFTP() override;

    void SetHost(const QString& host) { host_ = host; }
    // The user name and password as the bytes to send.
    void SetUser(const QByteArray& user) { user_ = user; }
    void SetPassword(const QByteArray& password) { password_ = password; }

    // Connects, awaits the greeting, logs in, sets binary type and asks the system type.
    bool Connect();
    // The names of the server's current directory, one per line of its answer.
    bool List(QStringList* names);
    bool Delete(const QString& name);
    // Stores the local file under the remote name, reporting progress.
    bool Store(const QString& localFile, const QString& remoteName);
    // Says goodbye and closes the connection; never fails.
    void Quit();

    const QString& ErrorText() const { return errorText_; }

signals:
    void WorkBegin(olg::WorkMode mode, qint64 count);
    void Work(olg::WorkMode mode, qint64 total);
    void WorkEnd(olg::WorkMode mode);

private:
    using Reply = FtpReplyReader::Reply;

    bool Fail(const QString& text);
    QString Server() const;
    bool Send(const QByteArray& command);
    // The next complete reply, or nothing (with the error set) when the wait ran out or the link broke;
    // `awaited` names the reply in a message ("its greeting").
    std::optional<Reply> ReadReply(const QString& awaited);
    // Takes what the control connection has; true when a reply is complete, or can never be.
    bool Collect(std::optional<Reply>* reply);
    // Sends the command and checks that its reply has one of the codes; `what` says what was refused.
    std::optional<Reply> Command(const QByteArray& command, std::initializer_list<int> codes,
                                 const QString& what);
    // A name of the device's store as the bytes of its commands; false with the error set when the devices'
    // code page cannot carry it.
    bool EncodeName(const QString& name, QByteArray* bytes);
    // PORT, then the command, then the server's connection to our listener.
    bool OpenData(const QByteArray& command, const QString& what);
    bool CloseData(const QString& what);
    // Runs the event loop until the condition holds or the time runs out; false on time-out.
    bool WaitUntil(const std::function<bool()>& condition, int timeoutMs);
    QString Refusal(const QString& what, const Reply& reply) const;

    FtpSettings settings_;
    QString host_;
    QByteArray user_;
    QByteArray password_;
    std::unique_ptr<QTcpSocket> control_;
    std::unique_ptr<QTcpServer> listener_;
    std::unique_ptr<QTcpSocket> data_;
    FtpReplyReader replies_;
    QString errorText_;
};

} // namespace olg
