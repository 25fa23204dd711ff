#include "TIdFTP.h"

#include "DeviceText.h"
#include "Windows1252.h"

#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QHostAddress>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

namespace olg {

namespace {

constexpr qint64 ChunkBytes = 64 * 1024;
// Bytes handed to the socket but not yet sent, above which the store waits.
constexpr qint64 MaxQueuedBytes = 256 * 1024;
// The system's own buffer of the data connection: progress counts what left our hands, so the less the system
// holds, the nearer it is to what the device took (the system's default may hold a whole image).
constexpr int DataSendBufferBytes = 256 * 1024;
// Far more than any name list of a device; a server that sends more is not listened to further.
constexpr qsizetype MaxListingBytes = 16 * 1024 * 1024;
// Quit is a courtesy: a server that does not answer it is not waited for long.
constexpr int QuitWaitMs = 2000;
// The most of a server's reply a message shows, in characters.
constexpr std::size_t MaxReplyText = 200;

} // namespace

TIdFTP::TIdFTP(const FtpSettings& settings, QObject* parent) : QObject(parent), settings_(settings) {}

TIdFTP::~TIdFTP() = default;

bool TIdFTP::Fail(const QString& text) {
    errorText_ = text;
    data_.reset();
    listener_.reset();
    if (control_)
        control_->abort();
    return false;
}

QString TIdFTP::Server() const {
    return tr("FTP server %1").arg(host_);
}

QString TIdFTP::Refusal(const QString& what, const Reply& reply) const {
    return tr("%1 refused %2: %3")
        .arg(Server(), what, QString::fromStdString(Windows1252ToPrintable(reply.Text, MaxReplyText)));
}

bool TIdFTP::WaitUntil(const std::function<bool()>& condition, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QEventLoop wait;
        QTimer timer;
        timer.setSingleShot(true);
        connect(&timer, &QTimer::timeout, &wait, &QEventLoop::quit);
        for (QTcpSocket* socket : {control_.get(), data_.get()}) {
            if (!socket)
                continue;
            connect(socket, &QTcpSocket::readyRead, &wait, &QEventLoop::quit);
            connect(socket, &QTcpSocket::bytesWritten, &wait, &QEventLoop::quit);
            connect(socket, &QTcpSocket::stateChanged, &wait, &QEventLoop::quit);
            connect(socket, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
        }
        if (listener_)
            connect(listener_.get(), &QTcpServer::newConnection, &wait, &QEventLoop::quit);
        timer.start(static_cast<int>(std::max<qint64>(0, deadline.remainingTime())));
        wait.exec();
    }
    return true;
}

bool TIdFTP::Send(const QByteArray& command) {
    if (!control_ || control_->state() != QAbstractSocket::ConnectedState)
        return Fail(tr("%1 closed the connection").arg(Server()));
    control_->write(command + "\r\n");
    return true;
}

bool TIdFTP::Collect(std::optional<Reply>* reply) {
    if (control_) {
        const QByteArray bytes = control_->readAll();
        replies_.Append(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    *reply = replies_.Take();
    return reply->has_value() || replies_.Overflowing() || !control_ ||
           control_->state() != QAbstractSocket::ConnectedState;
}

std::optional<TIdFTP::Reply> TIdFTP::ReadReply(const QString& awaited) {
    std::optional<Reply> reply;
    const bool arrived = WaitUntil([&] { return Collect(&reply); }, settings_.TimeoutMs);
    if (reply)
        return reply;
    if (replies_.Overflowing()) {
        Fail(tr("%1 sent no end to %2").arg(Server(), awaited));
        return std::nullopt;
    }
    Fail(arrived
             ? tr("%1 closed the connection while we awaited %2").arg(Server(), awaited)
             : tr("%1 did not send %2 within %3 s").arg(Server(), awaited).arg(settings_.TimeoutMs / 1000.0));
    return std::nullopt;
}

std::optional<TIdFTP::Reply> TIdFTP::Command(const QByteArray& command, std::initializer_list<int> codes,
                                             const QString& what) {
    const QByteArray verb = command.split(' ').first().toUpper();
    if (!Send(command))
        return std::nullopt;
    std::optional<Reply> reply = ReadReply(tr("its answer to %1").arg(QString::fromLatin1(verb)));
    if (!reply)
        return std::nullopt;
    if (std::find(codes.begin(), codes.end(), reply->Code) == codes.end()) {
        Fail(Refusal(what, *reply));
        return std::nullopt;
    }
    return reply;
}

bool TIdFTP::Connect() {
    errorText_.clear();
    replies_.Clear();
    const QHostAddress address(host_);
    if (address.protocol() != QAbstractSocket::IPv4Protocol)
        return Fail(tr("\"%1\" is not an IPv4 address").arg(host_));
    control_ = std::make_unique<QTcpSocket>();
    control_->connectToHost(address, settings_.Port);
    const bool settled = WaitUntil(
        [this] {
            return control_->state() == QAbstractSocket::ConnectedState ||
                   control_->state() == QAbstractSocket::UnconnectedState;
        },
        settings_.TimeoutMs);
    if (control_->state() != QAbstractSocket::ConnectedState)
        return Fail(settled ? tr("cannot connect to %1 port %2: %3")
                                  .arg(Server())
                                  .arg(settings_.Port)
                                  .arg(control_->errorString())
                            : tr("%1 port %2 did not accept the connection within %3 s")
                                  .arg(Server())
                                  .arg(settings_.Port)
                                  .arg(settings_.TimeoutMs / 1000.0));
    const std::optional<Reply> greeting = ReadReply(tr("its greeting"));
    if (!greeting)
        return false;
    if (greeting->Code != 220)
        return Fail(Refusal(tr("the connection"), *greeting));

    const QString login = tr("the login");
    // The command texts are those the devices' firmware has always received, letter for letter: a small
    // server may compare bytes where the standard says case does not matter.
    const std::optional<Reply> user = Command("user " + user_, {230, 331}, login);
    if (!user)
        return false;
    if (user->Code == 331 && !Command("pass " + password_, {230}, login))
        return false;
    return Command("type I", {200}, tr("binary type")) &&
           Command("syst", {200, 215, 500}, tr("to tell its system type"));
}

bool TIdFTP::OpenData(const QByteArray& command, const QString& what) {
    // Active mode: we listen where the server already reaches us, and tell it so.
    data_.reset();
    listener_ = std::make_unique<QTcpServer>();
    const QHostAddress local = control_->localAddress();
    if (!listener_->listen(local, 0))
        return Fail(tr("cannot open a data port on %1: %2").arg(local.toString(), listener_->errorString()));
    const quint32 address = local.toIPv4Address();
    const quint16 port = listener_->serverPort();
    const QByteArray portCommand = QStringLiteral("PORT %1,%2,%3,%4,%5,%6")
                                       .arg(address >> 24)
                                       .arg((address >> 16) & 0xFF)
                                       .arg((address >> 8) & 0xFF)
                                       .arg(address & 0xFF)
                                       .arg(port >> 8)
                                       .arg(port & 0xFF)
                                       .toLatin1();
    if (!Command(portCommand, {200}, tr("the data port")) || !Command(command, {125, 150}, what))
        return false;
    // Only the server itself may connect: anyone else on the network is turned away.
    const QHostAddress server = control_->peerAddress();
    const bool connected = WaitUntil(
        [&] {
            while (!data_ && listener_->hasPendingConnections()) {
                std::unique_ptr<QTcpSocket> socket(listener_->nextPendingConnection());
                // Owned here from now on, not by the listener that goes next.
                socket->setParent(nullptr);
                if (socket->peerAddress() == server)
                    data_ = std::move(socket);
                else
                    socket->abort();
            }
            return data_ != nullptr;
        },
        settings_.TimeoutMs);
    listener_.reset();
    if (!connected)
        return Fail(tr("%1 did not open the data connection within %2 s")
                        .arg(Server())
                        .arg(settings_.TimeoutMs / 1000.0));
    return true;
}

bool TIdFTP::CloseData(const QString& what) {
    data_.reset();
    const std::optional<Reply> reply = ReadReply(tr("its answer at the end of the transfer"));
    if (!reply)
        return false;
    // 426: the server aborted the transfer, whatever it says next.
    if (reply->Code != 225 && reply->Code != 226 && reply->Code != 250)
        return Fail(Refusal(what, *reply));
    return true;
}

bool TIdFTP::List(QStringList* names) {
    names->clear();
    const QString what = tr("to list its files");
    if (!OpenData("nlst", what))
        return false;
    QByteArray listing;
    const bool ended = WaitUntil(
        [&] {
            listing += data_->readAll();
            return data_->state() == QAbstractSocket::UnconnectedState || listing.size() > MaxListingBytes;
        },
        settings_.TimeoutMs);
    listing += data_->readAll();
    if (listing.size() > MaxListingBytes)
        return Fail(tr("%1 sent a list of files longer than %2 bytes").arg(Server()).arg(MaxListingBytes));
    if (!ended)
        return Fail(
            tr("%1 did not finish its list within %2 s").arg(Server()).arg(settings_.TimeoutMs / 1000.0));
    if (!CloseData(what))
        return false;
    for (const std::string& name : FtpReplyReader::SplitNames(
             std::string_view(listing.constData(), static_cast<std::size_t>(listing.size()))))
        names->append(DeviceText::Decode(name));
    return true;
}

bool TIdFTP::EncodeName(const QString& name, QByteArray* bytes) {
    const std::optional<std::string> encoded = DeviceText::Encode(name);
    if (!encoded)
        return Fail(
            tr("%1 cannot be named to the device: it holds a letter the device cannot take").arg(name));
    *bytes = QByteArray::fromStdString(*encoded);
    return true;
}

bool TIdFTP::Delete(const QString& name) {
    QByteArray bytes;
    return EncodeName(name, &bytes) &&
           Command("DELE " + bytes, {250}, tr("to delete %1").arg(name)).has_value();
}

bool TIdFTP::Store(const QString& localFile, const QString& remoteName) {
    QFile file(localFile);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(tr("cannot open %1: %2").arg(localFile, file.errorString()));
    const QString what = tr("to store %1").arg(remoteName);
    QByteArray name;
    if (!EncodeName(remoteName, &name) || !OpenData("STOR " + name, what))
        return false;

    data_->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, DataSendBufferBytes);
    emit WorkBegin(WorkMode::Write, file.size());
    qint64 sent = 0;
    bool ok = true;
    while (ok && !file.atEnd()) {
        const QByteArray chunk = file.read(ChunkBytes);
        if (chunk.isEmpty() && file.error() != QFileDevice::NoError) {
            ok = Fail(tr("cannot read %1: %2").arg(localFile, file.errorString()));
            break;
        }
        data_->write(chunk);
        sent += chunk.size();
        const bool drained = WaitUntil(
            [this] {
                return data_->bytesToWrite() < MaxQueuedBytes ||
                       data_->state() != QAbstractSocket::ConnectedState;
            },
            settings_.TimeoutMs);
        if (!drained || data_->state() != QAbstractSocket::ConnectedState)
            ok = Fail(tr("%1 stopped taking %2 after %3 bytes").arg(Server(), remoteName).arg(sent));
        else
            emit Work(WorkMode::Write, sent - data_->bytesToWrite());
    }
    if (ok) {
        data_->disconnectFromHost();
        const bool flushed = WaitUntil([this] { return data_->state() == QAbstractSocket::UnconnectedState; },
                                       settings_.TimeoutMs);
        if (!flushed)
            ok = Fail(tr("%1 did not take the end of %2").arg(Server(), remoteName));
        else
            emit Work(WorkMode::Write, sent);
    }
    ok = ok && CloseData(what);
    emit WorkEnd(WorkMode::Write);
    return ok;
}

void TIdFTP::Quit() {
    data_.reset();
    listener_.reset();
    if (control_ && control_->state() == QAbstractSocket::ConnectedState) {
        control_->write("Quit\r\n");
        std::optional<Reply> reply;
        WaitUntil([&] { return Collect(&reply); }, QuitWaitMs);
    }
    control_.reset();
}

} // namespace olg
