#include "FtpServerSession.h"

namespace olg::sim {

namespace {

// "©quorbel" in Windows-1252: the one account of the devices, with an empty password.
const QByteArray UpgradeUser("\xA9quorbel");

} // namespace

FtpServerSession::FtpServerSession(QTcpSocket* control, const DeviceFaults& faults, DeviceFiles& files,
                                   QObject* parent)
    : QObject(parent), faults_(faults), files_(files), control_(control) {
    control_->setParent(this);
    connect(control_, &QTcpSocket::disconnected, this, &QObject::deleteLater);
    connect(control_, &QTcpSocket::errorOccurred, this, &QObject::deleteLater);
    if (faults_.FtpSilent)
        return;
    connect(control_, &QTcpSocket::readyRead, this, &FtpServerSession::ReadCommands);
    Reply("220 eOutletGuard FTP server ready");
}

void FtpServerSession::Reply(const QByteArray& line) {
    control_->write(line + "\r\n");
}

void FtpServerSession::ReadCommands() {
    input_ += control_->readAll();
    // A line longer than any command is a client gone wrong; drop it rather than grow without bound.
    if (input_.size() > 4096 && input_.indexOf('\n') < 0) {
        input_.clear();
        Reply("500 Line too long");
        return;
    }
    qsizetype end = 0;
    while ((end = input_.indexOf('\n')) >= 0) {
        QByteArray line = input_.left(end);
        input_.remove(0, end + 1);
        if (line.endsWith('\r'))
            line.chop(1);
        const qsizetype space = line.indexOf(' ');
        const QByteArray verb = (space < 0 ? line : line.left(space)).toUpper();
        Execute(verb, space < 0 ? QByteArray() : line.mid(space + 1));
    }
}

void FtpServerSession::Execute(const QByteArray& verb, const QByteArray& argument) {
    if (verb == "USER") {
        user_ = argument;
        userAccepted_ = argument == UpgradeUser;
        loggedIn_ = false;
        Reply("331 Password required");
        return;
    }
    if (verb == "PASS") {
        loggedIn_ = userAccepted_ && argument.isEmpty() && !faults_.FtpBadLogin;
        Reply(loggedIn_ ? "230 User logged in" : "530 Login incorrect");
        return;
    }
    if (verb == "QUIT") {
        Reply("221 Goodbye");
        control_->disconnectFromHost();
        return;
    }
    if (!loggedIn_) {
        Reply("530 Not logged in");
        return;
    }
    if (verb == "TYPE") {
        Reply(argument.toUpper() == "I" ? "200 Type set to I" : "504 Only binary type");
    } else if (verb == "SYST") {
        Reply("215 UNIX Type: L8");
    } else if (verb == "NOOP") {
        Reply("200 OK");
    } else if (verb == "PORT") {
        SetPort(argument);
    } else if (verb == "NLST") {
        QByteArray listing;
        for (const auto& [name, contents] : files_.FtpStore)
            listing += name.toLatin1() + "\r\n";
        // The device names an empty store this way rather than sending nothing.
        OpenData(true, listing.isEmpty() ? QByteArray("Empty Directory\r\n") : listing, {});
    } else if (verb == "DELE") {
        // The state is saved before the reply leaves, so whoever got the reply reads the new store.
        const bool erased = files_.FtpStore.erase(QString::fromLatin1(argument)) > 0;
        if (erased)
            emit StoreChanged();
        Reply(erased ? "250 File deleted" : "550 No such file");
    } else if (verb == "STOR") {
        if (argument.isEmpty() || argument.contains('/'))
            Reply("553 Bad file name");
        else
            OpenData(false, {}, QString::fromLatin1(argument));
    } else {
        Reply("502 Command not implemented");
    }
}

void FtpServerSession::SetPort(const QByteArray& argument) {
    const QList<QByteArray> parts = argument.split(',');
    bool ok = parts.size() == 6;
    quint32 address = 0;
    quint32 port = 0;
    for (qsizetype i = 0; ok && i < 6; ++i) {
        const uint value = parts[i].trimmed().toUInt(&ok);
        ok = ok && value <= 255;
        if (i < 4)
            address = (address << 8) | value;
        else
            port = (port << 8) | value;
    }
    // The data connection goes back to the client's own address only.
    if (!ok || port == 0 || QHostAddress(address) != control_->peerAddress()) {
        Reply("501 Bad PORT argument");
        return;
    }
    dataAddress_ = QHostAddress(address);
    dataPort_ = static_cast<quint16>(port);
    Reply("200 PORT command successful");
}

void FtpServerSession::OpenData(bool sending, const QByteArray& payload, const QString& storeName) {
    if (dataPort_ == 0) {
        Reply("425 Use PORT first");
        return;
    }
    Reply("150 Opening BINARY mode data connection");
    auto* data = new QTcpSocket(this);
    data_ = data;
    auto received = std::make_shared<QByteArray>();
    connect(data, &QTcpSocket::connected, this, [data, sending, payload] {
        if (sending) {
            data->write(payload);
            data->disconnectFromHost();
        }
    });
    connect(data, &QTcpSocket::readyRead, this, [data, received] { *received += data->readAll(); });
    connect(data, &QTcpSocket::disconnected, this, [this, data, sending, received, storeName] {
        *received += data->readAll();
        data->deleteLater();
        if (sending) {
            Reply("226 Transfer complete");
            return;
        }
        if (faults_.FtpStoreFails) {
            Reply("451 Flash write failed");
            return;
        }
        files_.FtpStore[storeName] = *received;
        emit StoreChanged();
        Reply("226 Transfer complete");
    });
    connect(data, &QTcpSocket::errorOccurred, this, [this, data](QAbstractSocket::SocketError error) {
        if (error == QAbstractSocket::RemoteHostClosedError)
            return;
        data->deleteLater();
        Reply("425 Cannot open data connection");
    });
    // From the device's own address, as a device's data connection comes.
    data->bind(control_->localAddress(), 0);
    data->connectToHost(dataAddress_, dataPort_);
    dataPort_ = 0;
}

} // namespace olg::sim
