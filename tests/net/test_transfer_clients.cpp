// The TFTP and FTP clients on loopback: against the simulator's servers with their fault switches, and the
// TFTP client against a scripted peer for the protocol's corners.

#include "FtpServer.h"
#include "TIdFTP.h"
#include "TIdTrivialFTP.h"
#include "TestSupport.h"
#include "TftpServer.h"

#include <QNetworkDatagram>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QUdpSocket>

using namespace olg;
using namespace olg::sim;

namespace {

const QHostAddress Server(QStringLiteral("127.0.0.1"));
const QByteArray UpgradeUser("\xA9quorbel");

QByteArray RandomBytes(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (char& byte : bytes)
        byte = static_cast<char>(QRandomGenerator::global()->bounded(256));
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QString& name, const QByteArray& contents) {
    QFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write the test file");
    return file.fileName();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

DeviceFaults Faults(const QString& names) {
    DeviceFaults faults;
    faults.TftpNoLastAck = names.contains(QLatin1String("tftp-nolastack"));
    faults.TftpError = names.contains(QLatin1String("tftp-error"));
    faults.TftpSilent = names.contains(QLatin1String("tftp-silent"));
    faults.TftpCorrupt = names.contains(QLatin1String("tftp-corrupt"));
    faults.FtpBadLogin = names.contains(QLatin1String("ftp-badlogin"));
    faults.FtpStoreFails = names.contains(QLatin1String("ftp-storefail"));
    faults.FtpSilent = names.contains(QLatin1String("ftp-silent"));
    return faults;
}

QByteArray U16(quint16 value) {
    return QByteArray(1, static_cast<char>(value >> 8)) + static_cast<char>(value & 0xFF);
}

// A TFTP server stand-in that answers the n-th packet it receives with the packets of the n-th entry of its
// script and records what it received as "opcode:block:data bytes" words; what its second port received
// follows a "|". A packet's first byte may say how it goes: "!" from another host, "^" from another port,
// "~" 300 ms later, "*" every 5 ms from then on.
class ScriptedPeer : public QObject {
public:
    explicit ScriptedPeer(const QList<QList<QByteArray>>& script) : script_(script) {
        socket_.bind(Server, 0);
        otherPort_.bind(Server, 0);
        foreign_.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0);
        connect(&otherPort_, &QUdpSocket::readyRead, this, [this] {
            while (otherPort_.hasPendingDatagrams())
                atOtherPort_.append(Word(otherPort_.receiveDatagram().data()));
        });
        connect(&socket_, &QUdpSocket::readyRead, this, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = socket_.receiveDatagram();
                if (received_.isEmpty()) {
                    clientPort = static_cast<quint16>(datagram.senderPort());
                    request = datagram.data();
                }
                received_.append(Word(datagram.data()));
                for (const QByteArray& packet : script_.value(count_++))
                    Send(packet, datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
            }
        });
        flood_.setInterval(5);
    }
    quint16 Port() const { return socket_.localPort(); }
    QString Received() const {
        return (received_ + (atOtherPort_.isEmpty() ? QStringList() : QStringList{QStringLiteral("|")}) +
                atOtherPort_)
            .join(QLatin1Char(' '));
    }
    quint16 clientPort = 0;
    QByteArray request;

private:
    static QString Word(const QByteArray& data) {
        const quint16 opcode = static_cast<quint16>((quint8(data[0]) << 8) | quint8(data[1]));
        return opcode <= 2 ? QString::number(opcode)
                           : QStringLiteral("%1:%2:%3")
                                 .arg(opcode)
                                 .arg((quint8(data[2]) << 8) | quint8(data[3]))
                                 .arg(data.size() - 4);
    }
    void Send(const QByteArray& packet, const QHostAddress& to, quint16 port) {
        const QByteArray bytes = packet.mid(1);
        switch (packet.at(0)) {
        case '!':
            foreign_.writeDatagram(bytes, to, port);
            break;
        case '^':
            otherPort_.writeDatagram(bytes, to, port);
            break;
        case '~':
            QTimer::singleShot(300, this,
                               [this, bytes, to, port] { socket_.writeDatagram(bytes, to, port); });
            break;
        case '*':
            connect(&flood_, &QTimer::timeout, this,
                    [this, bytes, to, port] { socket_.writeDatagram(bytes, to, port); });
            flood_.start();
            break;
        default:
            socket_.writeDatagram(packet, to, port);
        }
    }

    QUdpSocket socket_;
    QUdpSocket otherPort_;
    QUdpSocket foreign_;
    QTimer flood_;
    QList<QList<QByteArray>> script_;
    int count_ = 0;
    QStringList received_;
    QStringList atOtherPort_;
};

// An FTP server stand-in on 127.0.0.1: greets with its script's bytes, records every command line as it came
// (a PORT line as "PORT"), answers `verb` with the script's reply and every other command with a plain yes,
// lists "a.htm" and takes a store.
class ScriptedFtpPeer : public QObject {
public:
    ScriptedFtpPeer(const QByteArray& greeting, const QByteArray& verb, const QByteArray& reply) {
        server_.listen(Server, 0);
        connect(&server_, &QTcpServer::newConnection, this, [this, greeting, verb, reply] {
            QTcpSocket* control = server_.nextPendingConnection();
            control->write(greeting);
            connect(control, &QTcpSocket::readyRead, this, [this, control, verb, reply] {
                while (control->canReadLine())
                    Execute(control, control->readLine().chopped(2), verb, reply);
            });
        });
    }
    quint16 Port() const { return server_.serverPort(); }
    QByteArrayList sent;
    QByteArray stored;

private:
    void Execute(QTcpSocket* control, const QByteArray& line, const QByteArray& verb,
                 const QByteArray& reply) {
        const QByteArray word = line.split(' ').first().toLower();
        sent.append(word == "port" ? QByteArray("PORT") : line);
        if (word == verb) {
            control->write(reply);
        } else if (word == "port") {
            const QByteArrayList numbers = line.mid(5).split(',');
            dataPort_ = static_cast<quint16>(numbers.value(4).toInt() * 256 + numbers.value(5).toInt());
            control->write("200 ok\r\n");
        } else if (word == "nlst" || word == "stor") {
            control->write("150 ok\r\n");
            auto* data = new QTcpSocket(this);
            connect(data, &QTcpSocket::connected, this, [data, word] {
                if (word == "nlst") {
                    data->write("a.htm\r\n");
                    data->disconnectFromHost();
                }
            });
            connect(data, &QTcpSocket::readyRead, this, [this, data] { stored += data->readAll(); });
            connect(data, &QTcpSocket::disconnected, this, [this, data, control] {
                stored += data->readAll();
                control->write("226 done\r\n");
                data->deleteLater();
            });
            data->connectToHost(Server, dataPort_);
        } else {
            const QMap<QByteArray, QByteArray> codes{{"user", "331"}, {"pass", "230"}, {"type", "200"},
                                                     {"syst", "215"}, {"dele", "250"}, {"quit", "221"}};
            control->write(codes.value(word, "500") + " ok\r\n");
        }
    }

    QTcpServer server_;
    quint16 dataPort_ = 0;
};

} // namespace

class TestTransferClients : public QObject {
    Q_OBJECT

private slots:
    void tftpAgainstSimulator_data();
    void tftpAgainstSimulator();
    void tftpScripted_data();
    void tftpScripted();
    void ftpAgainstSimulator_data();
    void ftpAgainstSimulator();
    void ftpHostile_data();
    void ftpHostile();
};

void TestTransferClients::tftpAgainstSimulator_data() {
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("requestedBlockSize");
    QTest::addColumn<int>("blockSize");
    QTest::addColumn<int>("putError"); // an ErrorKind, -1 for none
    QTest::addColumn<bool>("readBackSame");

    const int none = -1;
    const int timeout = static_cast<int>(TIdTrivialFTP::ErrorKind::Timeout);
    QTest::newRow("1500-byte blocks, exact multiple") << "" << 3000 << 1500 << 1500 << none << true;
    QTest::newRow("options refused: 512") << "" << 1300 << 0 << 512 << none << true;
    QTest::newRow("empty image") << "" << 0 << 1500 << 1500 << none << true;
    QTest::newRow("block numbers wrap") << "" << 8 * 65536 + 3 << 8 << 8 << none << true;
    QTest::newRow("last block never acknowledged")
        << "tftp-nolastack" << 2000 << 1500 << 1500 << none << true;
    QTest::newRow("error packet") << "tftp-error" << 2000 << 1500 << 512
                                  << static_cast<int>(TIdTrivialFTP::ErrorKind::AllocationExceeded) << false;
    QTest::newRow("silent server") << "tftp-silent" << 2000 << 1500 << 512 << timeout << false;
    QTest::newRow("read-back differs") << "tftp-corrupt" << 5000 << 1500 << 1500 << none << false;
}

void TestTransferClients::tftpAgainstSimulator() {
    QFETCH(QString, faults);
    QFETCH(int, size);
    QFETCH(int, requestedBlockSize);
    QFETCH(int, blockSize);
    QFETCH(int, putError);
    QFETCH(bool, readBackSame);

    DeviceFiles files;
    TftpServer server(Server, 0, Faults(faults), files);
    QString error;
    QVERIFY2(server.Start(&error), qPrintable(error));
    QTemporaryDir dir;
    const QByteArray image = RandomBytes(size);
    const QString local = WriteFile(dir, QStringLiteral("fw.bin"), image);

    TftpSettings settings;
    settings.Port = server.Port();
    settings.RequestedBlockSize = requestedBlockSize;
    settings.TimeoutMs = 400;
    TIdTrivialFTP client(settings);
    client.SetHost(Server.toString());
    QSignalSpy begin(&client, &TIdTrivialFTP::WorkBegin);
    QSignalSpy work(&client, &TIdTrivialFTP::Work);
    QSignalSpy end(&client, &TIdTrivialFTP::WorkEnd);
    // The blocks go on a worker thread, but progress must reach the caller's thread (where windows are
    // painted), in order and without an event per block.
    bool ordered = true;
    qint64 previous = -1;
    connect(&client, &TIdTrivialFTP::WorkBegin, this, [&] { previous = -1; });
    connect(&client, &TIdTrivialFTP::Work, this, [&](WorkMode, qint64 total) {
        ordered = ordered && QThread::currentThread() == thread() && total >= previous;
        previous = total;
    });

    QCOMPARE(client.Put(local, QStringLiteral("/")), putError < 0);
    QCOMPARE(static_cast<int>(client.Error()), putError);
    QCOMPARE(client.BlockSize(), blockSize);
    QCOMPARE(begin.size(), 1);
    QCOMPARE(begin.first().at(1).toLongLong(), size);
    QCOMPARE(end.size(), 1);
    if (putError >= 0)
        return;
    QCOMPARE(files.Image, image);
    QCOMPARE(work.last().at(1).toLongLong(), size);
    QVERIFY(ordered);
    QVERIFY(size / blockSize < 1000 || work.size() < size / blockSize / 10);

    const QString readBack = dir.filePath(QStringLiteral("back.bin"));
    QVERIFY2(client.Get(QStringLiteral("/"), readBack), qPrintable(client.ErrorText()));
    QCOMPARE(ReadFile(readBack) == image, readBackSame);
    QVERIFY(ordered);
    QCOMPARE(begin.last().at(1).toLongLong(), 0);
    QCOMPARE(end.size(), 2);
}

void TestTransferClients::tftpScripted_data() {
    QTest::addColumn<bool>("put");
    QTest::addColumn<int>("size");
    QTest::addColumn<QList<QList<QByteArray>>>("script");
    QTest::addColumn<bool>("succeeds");
    QTest::addColumn<QString>("received"); // "..." at the end: what came first
    QTest::addColumn<QString>("errorPart");

    const QByteArray ack0 = U16(4) + U16(0);
    const QByteArray ack1 = U16(4) + U16(1);
    const QByteArray ack2 = U16(4) + U16(2);
    const QByteArray oack = U16(6) + "blksize" + '\0' + "1500" + '\0';
    const QByteArray data1Full = U16(3) + U16(1) + QByteArray(512, 'a');
    const QByteArray data2Short = U16(3) + U16(2) + QByteArray(10, 'b');
    const QByteArray data3 = U16(3) + U16(3) + QByteArray(10, 'c');
    const QByteArray data1Short = U16(3) + U16(1) + QByteArray(10, 'x');

    QTest::newRow("put: a block whose acknowledgement is overdue goes again")
        << true << 600 << QList<QList<QByteArray>>{{ack0}, {ack0}, {ack1}, {ack2}} << true
        << "2 3:1:512 3:1:512 3:2:88"
        << "";
    QTest::newRow("put: repeated and future acknowledgements send nothing")
        << true << 600 << QList<QList<QByteArray>>{{ack0}, {ack0, ack0, ack0, U16(4) + U16(5), ack1}, {ack2}}
        << true << "2 3:1:512 3:2:88"
        << "";
    QTest::newRow("put: a flood of repeated acknowledgements ends at the time-out")
        << true << 600 << QList<QList<QByteArray>>{{ack0}, {"*" + ack0}} << false << "2 3:1:512 ..."
        << "did not acknowledge block 1 within 600 ms";
    QTest::newRow("put: a server too slow for the file's size")
        << true << 1300
        << QList<QList<QByteArray>>{{"~" + ack0}, {"~" + ack1}, {"~" + ack2}, {"~" + U16(4) + U16(3)}}
        << false << "2 3:1:512 ..."
        << "did not complete the transfer in the time its size allows";
    QTest::newRow("put: an older acknowledgement does not end it")
        << true << 100 << QList<QList<QByteArray>>{{oack}, {ack0}, {ack1}} << true << "2 3:1:100 3:1:100"
        << "";
    QTest::newRow("put: packets of another host are ignored")
        << true << 100 << QList<QList<QByteArray>>{{"!" + ack0}} << false << "2"
        << "did not answer";
    QTest::newRow("put: error packet text")
        << true << 100 << QList<QList<QByteArray>>{{U16(5) + U16(2) + "Locked" + '\0'}} << false << "2"
        << "Locked";
    QTest::newRow("put: a long error text is cut, its control bytes escaped")
        << true << 100
        << QList<QList<QByteArray>>{{U16(5) + U16(0) + "bad\x07" + QByteArray(300, 'x') + '\0'}} << false
        << "2"
        << "bad\\x07xxx";
    QTest::newRow("get: a repeated block is stored once")
        << false << 522 << QList<QList<QByteArray>>{{data1Full}, {data1Full}, {data2Short}, {}} << true
        << "1 4:1:0 4:1:0 4:2:0"
        << "";
    QTest::newRow("get: option acknowledgement is acknowledged with block 0")
        << false << 10 << QList<QList<QByteArray>>{{oack}, {data1Short}, {}} << true << "1 4:0:0 4:1:0"
        << "";
    QTest::newRow("get: a repeated last block is acknowledged before the transfer ends")
        << false << 10 << QList<QList<QByteArray>>{{data1Short, data1Short}} << true << "1 4:1:0 4:1:0"
        << "";
    QTest::newRow("get: a packet from another port is refused and changes nothing")
        << false << 522 << QList<QList<QByteArray>>{{data1Full}, {"^" + data2Short, data2Short}} << true
        << "1 4:1:0 4:2:0 | 5:5:20"
        << "";
    QTest::newRow("get: a file longer than allowed is refused")
        << false << 0 << QList<QList<QByteArray>>{{data1Full}, {U16(3) + U16(2) + QByteArray(512, 'b')}}
        << false << "1 4:1:0 5:3:26"
        << "sent more than the 1000 bytes expected";
    // A size of -1: the block is stored into a full disk.
    QTest::newRow("get: a block that cannot be stored is refused to the server")
        << false << -1 << QList<QList<QByteArray>>{{data1Full}} << false << "1 5:0:48"
        << "No space left";
    QTest::newRow("get: a block beyond the next is left unacknowledged")
        << false << 0 << QList<QList<QByteArray>>{{data3}} << false << "1"
        << "did not send block 1";
    QTest::newRow("get: data stopping before a short block times out")
        << false << 0 << QList<QList<QByteArray>>{{data1Full}} << false << "1 4:1:0"
        << "did not send block 2";
    QTest::newRow("get: unexpected operation names the server")
        << false << 0 << QList<QList<QByteArray>>{{U16(4) + U16(1)}} << false << "1"
        << "unexpected TFTP operation 4";
}

void TestTransferClients::tftpScripted() {
    QFETCH(bool, put);
    QFETCH(int, size);
    QFETCH(QList<QList<QByteArray>>, script);
    QFETCH(bool, succeeds);
    QFETCH(QString, received);
    QFETCH(QString, errorPart);

    ScriptedPeer peer(script);
    QTemporaryDir dir;
    const QString local = size < 0 ? QStringLiteral("/dev/full")
                                   : WriteFile(dir, QStringLiteral("fw.bin"), QByteArray(size, 'z'));
    {
        TftpSettings settings;
        settings.Port = peer.Port();
        settings.TimeoutMs = 600;
        settings.ResendMs = 400;
        settings.LastBlockWaitMs = 100;
        settings.MsPerBlock = 100;
        TIdTrivialFTP client(settings);
        client.SetHost(Server.toString());
        const bool done =
            put ? client.Put(local, QStringLiteral("/")) : client.Get(QStringLiteral("/"), local, 1000);
        QCOMPARE(done, succeeds);
        QVERIFY2(client.ErrorText().contains(errorPart), qPrintable(client.ErrorText()));
        QVERIFY2(client.ErrorText().size() < 250, qPrintable(client.ErrorText()));
    }
    // Once the client is gone its transfers are over, without an event loop to help: no socket stays.
    QVERIFY(!testing::UdpPortBound(peer.clientPort));
    QCOMPARE(peer.request, U16(put ? 2 : 1) + QByteArray("/\0octet\0blksize\0"
                                                         "1500\0",
                                                         21));
    if (received.endsWith(QLatin1String("...")))
        QTRY_VERIFY2(peer.Received().startsWith(received.chopped(3)), qPrintable(peer.Received()));
    else
        QTRY_COMPARE(peer.Received(), received);
    if (!put && succeeds)
        QCOMPARE(ReadFile(local).size(), size);
}

void TestTransferClients::ftpAgainstSimulator_data() {
    QTest::addColumn<QString>("faults");
    QTest::addColumn<QStringList>("storeBefore");
    QTest::addColumn<bool>("listening");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("list, delete and store")
        << "" << QStringList{QStringLiteral("a.htm"), QStringLiteral("b.gif")} << true << "";
    QTest::newRow("empty store") << "" << QStringList{} << true << "";
    QTest::newRow("login refused") << "ftp-badlogin" << QStringList{} << true
                                   << "FTP server 127.0.0.1 refused the login: 530 Login incorrect";
    QTest::newRow("store fails") << "ftp-storefail" << QStringList{} << true
                                 << "FTP server 127.0.0.1 refused to store rom.bin: 451 Flash write failed";
    QTest::newRow("silent server") << "ftp-silent" << QStringList{} << true
                                   << "FTP server 127.0.0.1 did not send its greeting within 0.5 s";
    QTest::newRow("nothing listening")
        << "" << QStringList{} << false << "cannot connect to FTP server 127.0.0.1";
}

void TestTransferClients::ftpAgainstSimulator() {
    QFETCH(QString, faults);
    QFETCH(QStringList, storeBefore);
    QFETCH(bool, listening);
    QFETCH(QString, errorPart);

    DeviceFiles files;
    for (const QString& name : storeBefore)
        files.FtpStore[name] = name.toLatin1();
    FtpServer server(Server, 0, Faults(faults), files);
    QString error;
    QVERIFY2(server.Start(&error), qPrintable(error));
    FtpSettings settings;
    settings.Port = server.Port();
    settings.TimeoutMs = 500;
    if (!listening) {
        // A port that was free a moment ago: the connection is refused.
        QTcpServer probe;
        QVERIFY(probe.listen(Server, 0));
        settings.Port = probe.serverPort();
    }
    QTemporaryDir dir;
    const QByteArray image = RandomBytes(700000);
    const QString local = WriteFile(dir, QStringLiteral("fw.rom.bin"), image);

    TIdFTP client(settings);
    client.SetHost(Server.toString());
    client.SetUser(UpgradeUser);
    QSignalSpy work(&client, &TIdFTP::Work);
    QStringList names;
    bool ok = client.Connect() && client.List(&names);
    for (const QString& name : storeBefore)
        ok = ok && client.Delete(name);
    ok = ok && client.Store(local, QStringLiteral("rom.bin"));
    client.Quit();

    QCOMPARE(ok, errorPart.isEmpty());
    QVERIFY2(errorPart.isEmpty() || client.ErrorText().startsWith(errorPart), qPrintable(client.ErrorText()));
    if (!ok)
        return;
    QCOMPARE(names, storeBefore.isEmpty() ? QStringList{QStringLiteral("Empty Directory")} : storeBefore);
    QCOMPARE(files.FtpStore.size(), std::size_t{1});
    QCOMPARE(files.FtpStore[QStringLiteral("rom.bin")], image);
    QCOMPARE(work.last().at(1).toLongLong(), image.size());
}

void TestTransferClients::ftpHostile_data() {
    QTest::addColumn<QByteArray>("greeting");
    QTest::addColumn<QByteArray>("verb"); // the command answered with `reply`
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("errorPart");

    QTest::newRow("multi-line greeting") << QByteArray("220-Welcome\r\n220-to the device\r\n220 ready\r\n")
                                         << QByteArray() << QByteArray() << "";
    QTest::newRow("a padded line inside a reply does not end it")
        << QByteArray("220 ready\r\n") << QByteArray("type")
        << QByteArray("200-Binary\r\n 200 x\r\n200 done\r\n") << "";
    QTest::newRow("a greeting without an end")
        << "220-" + QByteArray(70000, 'x') + "\r\n"
        << QByteArray() << QByteArray() << "FTP server 127.0.0.1 sent no end to its greeting";
    QTest::newRow("a refusal's text is cut, its control bytes escaped")
        << QByteArray("220 ready\r\n") << QByteArray("user") << "530 \x1b[31m" + QByteArray(300, 'y') + "\r\n"
        << "FTP server 127.0.0.1 refused the login: 530 \\x1B[31myyy";
}

void TestTransferClients::ftpHostile() {
    QFETCH(QByteArray, greeting);
    QFETCH(QByteArray, verb);
    QFETCH(QByteArray, reply);
    QFETCH(QString, errorPart);

    ScriptedFtpPeer peer(greeting, verb, reply);
    QTemporaryDir dir;
    const QByteArray image = RandomBytes(5000);
    const QString local = WriteFile(dir, QStringLiteral("fw.rom.bin"), image);
    FtpSettings settings;
    settings.Port = peer.Port();
    settings.TimeoutMs = 2000;
    TIdFTP client(settings);
    client.SetHost(Server.toString());
    client.SetUser(UpgradeUser);
    QStringList names;
    const bool ok = client.Connect() && client.List(&names) && client.Delete(names.value(0)) &&
                    client.Store(local, QStringLiteral("rom.bin"));
    client.Quit();

    QVERIFY2(ok == errorPart.isEmpty() && (ok || client.ErrorText().startsWith(errorPart)),
             qPrintable(client.ErrorText()));
    QVERIFY2(client.ErrorText().size() < 250, qPrintable(client.ErrorText()));
    if (!ok)
        return;
    // The command texts the devices have always received, byte for byte.
    QCOMPARE(peer.sent, (QByteArrayList{"user " + UpgradeUser, "pass ", "type I", "syst", "PORT", "nlst",
                                        "DELE a.htm", "PORT", "STOR rom.bin", "Quit"}));
    QTRY_COMPARE(peer.stored, image);
}

QTEST_GUILESS_MAIN(TestTransferClients)
#include "test_transfer_clients.moc"
