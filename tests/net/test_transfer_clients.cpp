// The TFTP and FTP clients on loopback: against the simulator's servers with their fault switches, and the
// TFTP client against a scripted peer for the protocol's corners.

#include "FtpServer.h"
#include "TIdFTP.h"
#include "TIdTrivialFTP.h"
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
// script and records what it received as "opcode:block:data bytes" words.
class ScriptedPeer : public QObject {
public:
    explicit ScriptedPeer(const QList<QList<QByteArray>>& script) : script_(script) {
        socket_.bind(Server, 0);
        foreign_.bind(QHostAddress(QStringLiteral("127.0.0.2")), 0);
        connect(&socket_, &QUdpSocket::readyRead, this, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram datagram = socket_.receiveDatagram();
                const QByteArray data = datagram.data();
                const quint16 opcode = static_cast<quint16>((quint8(data[0]) << 8) | quint8(data[1]));
                received.append(opcode <= 2 ? QStringLiteral("%1").arg(opcode)
                                            : QStringLiteral("%1:%2:%3")
                                                  .arg(opcode)
                                                  .arg((quint8(data[2]) << 8) | quint8(data[3]))
                                                  .arg(data.size() - 4));
                for (const QByteArray& packet : script_.value(count_++)) {
                    // "!" first: the packet comes from another host.
                    QUdpSocket& from = packet.startsWith('!') ? foreign_ : socket_;
                    from.writeDatagram(packet.startsWith('!') ? packet.mid(1) : packet,
                                       datagram.senderAddress(), static_cast<quint16>(datagram.senderPort()));
                }
            }
        });
    }
    quint16 Port() const { return socket_.localPort(); }
    QStringList received;

private:
    QUdpSocket socket_;
    QUdpSocket foreign_;
    QList<QList<QByteArray>> script_;
    int count_ = 0;
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
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("errorPart");

    const QByteArray ack0 = U16(4) + U16(0);
    const QByteArray ack1 = U16(4) + U16(1);
    const QByteArray ack2 = U16(4) + U16(2);
    const QByteArray oack = U16(6) + "blksize" + '\0' + "1500" + '\0';
    const QByteArray data1Full = U16(3) + U16(1) + QByteArray(512, 'a');
    const QByteArray data2Short = U16(3) + U16(2) + QByteArray(10, 'b');
    const QByteArray data3 = U16(3) + U16(3) + QByteArray(10, 'c');

    QTest::newRow("put: repeated acknowledgement sends the block again")
        << true << 600 << QList<QList<QByteArray>>{{ack0}, {ack0}, {ack1}, {ack2}} << true
        << "2 3:1:512 3:1:512 3:2:88"
        << "";
    QTest::newRow("put: an older acknowledgement does not end it")
        << true << 100 << QList<QList<QByteArray>>{{oack}, {ack0}, {ack1}} << true << "2 3:1:100 3:1:100"
        << "";
    QTest::newRow("put: packets of another host are ignored")
        << true << 100 << QList<QList<QByteArray>>{{"!" + ack0}} << false << "2"
        << "did not answer";
    QTest::newRow("put: error packet text")
        << true << 100 << QList<QList<QByteArray>>{{U16(5) + U16(2) + "Locked" + '\0'}} << false << "2"
        << "Locked";
    QTest::newRow("get: a repeated block is stored once")
        << false << 522 << QList<QList<QByteArray>>{{data1Full}, {data1Full}, {data2Short}, {}} << true
        << "1 4:1:0 4:1:0 4:2:0"
        << "";
    QTest::newRow("get: option acknowledgement is acknowledged with block 0")
        << false << 10 << QList<QList<QByteArray>>{{oack}, {U16(3) + U16(1) + QByteArray(10, 'x')}, {}}
        << true << "1 4:0:0 4:1:0"
        << "";
    QTest::newRow("get: a repeated last block is acknowledged after the get returned")
        << false << 10
        << QList<QList<QByteArray>>{{U16(3) + U16(1) + QByteArray(10, 'x')},
                                    {U16(3) + U16(1) + QByteArray(10, 'x')},
                                    {}}
        << true << "1 4:1:0 4:1:0"
        << "";
    // A size of -1: the block is stored into a full disk.
    QTest::newRow("get: a block that cannot be stored is refused to the server")
        << false << -1 << QList<QList<QByteArray>>{{data1Full}} << false << "1 5:0:48"
        << "No space left";
    QTest::newRow("get: a block beyond the next is left unacknowledged")
        << false << 0 << QList<QList<QByteArray>>{{data3}} << false << "1"
        << "did not answer";
    QTest::newRow("get: data stopping before a short block times out")
        << false << 0 << QList<QList<QByteArray>>{{data1Full}} << false << "1 4:1:0"
        << "did not answer";
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
    TftpSettings settings;
    settings.Port = peer.Port();
    settings.TimeoutMs = 300;
    TIdTrivialFTP client(settings);
    client.SetHost(Server.toString());
    const bool done = put ? client.Put(local, QStringLiteral("/")) : client.Get(QStringLiteral("/"), local);
    QCOMPARE(done, succeeds);
    QVERIFY2(client.ErrorText().contains(errorPart), qPrintable(client.ErrorText()));
    QTRY_COMPARE(peer.received.join(QLatin1Char(' ')), received);
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
                                   << "FTP server 127.0.0.1 did not answer with its greeting within 0.5 s";
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

QTEST_GUILESS_MAIN(TestTransferClients)
#include "test_transfer_clients.moc"
