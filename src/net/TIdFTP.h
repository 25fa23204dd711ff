#pragma once

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
    struct Reply {
        int Code = 0;
        QByteArray Text; // the last line, code included
    };

    bool Fail(const QString& text);
    QString Server() const;
    bool Send(const QByteArray& command);
    // The next complete reply, or nothing (with the error set) when the wait ran out or the link broke.
    std::optional<Reply> ReadReply(const QString& awaited);
    std::optional<Reply> TakeReply();
    // Sends the command and checks that its reply has one of the codes; `what` says what was refused.
    std::optional<Reply> Command(const QByteArray& command, std::initializer_list<int> codes,
                                 const QString& what);
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
    QByteArray input_;
    QString errorText_;
};

} // namespace olg
