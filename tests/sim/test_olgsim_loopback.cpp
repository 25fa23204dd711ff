// The real olgsim program on loopback, talked to with a plain UDP socket as the Finder would. Everything
// stays on 127.0.0.0/8: the simulator listens on 127.0.0.1 with a free port and answers from 127.0.0.x.

#include "TestSupport.h"

#include "Datagram.h"
#include "DeviceRegistry.h"
#include "ReplyDecoder.h"

#include <QFile>
#include <QHostAddress>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkDatagram>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QUdpSocket>

#include <csignal>
#include <memory>
#include <random>

using namespace olg;
using namespace olg::testing;

namespace {

constexpr int StartTimeoutMs = 30000;
constexpr int ReplyTimeoutMs = 10000;

// A running olgsim; stopped (and waited for) when it goes out of scope.
class Simulator {
public:
    bool Start(const QStringList& arguments) {
        process_.setProgram(QStringLiteral(OLGSIM_PATH));
        process_.setArguments(QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1:0")} +
                              arguments);
        process_.setProcessChannelMode(QProcess::SeparateChannels);
        process_.start();
        if (!process_.waitForStarted(StartTimeoutMs))
            return false;
        // The first line says where it listens; nothing may be sent before it.
        while (!process_.canReadLine())
            if (!process_.waitForReadyRead(StartTimeoutMs))
                return false;
        readyLine_ = QString::fromLocal8Bit(process_.readLine()).trimmed();
        const QRegularExpressionMatch match =
            QRegularExpression(QStringLiteral("^olgsim: (\\d+) devices listening on 127\\.0\\.0\\.1:(\\d+)$"))
                .match(readyLine_);
        if (!match.hasMatch())
            return false;
        port_ = static_cast<quint16>(match.captured(2).toUInt());
        return port_ != 0;
    }
    ~Simulator() {
        if (process_.state() != QProcess::NotRunning) {
            process_.kill();
            process_.waitForFinished(StartTimeoutMs);
        }
    }
    quint16 Port() const { return port_; }
    QProcess& Process() { return process_; }
    const QString& ReadyLine() const { return readyLine_; }

private:
    QProcess process_;
    QString readyLine_;
    quint16 port_ = 0;
};

// The Finder's side: a socket on 127.0.0.1 that keeps every datagram it gets.
class Client {
public:
    Client() {
        socket_.bind(QHostAddress(QStringLiteral("127.0.0.1")), 0);
        socket_.setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, QVariant(4 * 1024 * 1024));
        QObject::connect(&socket_, &QUdpSocket::readyRead, [this] {
            while (socket_.hasPendingDatagrams())
                received_.push_back(socket_.receiveDatagram());
        });
    }
    void Send(const QByteArray& datagram, quint16 port) {
        socket_.writeDatagram(datagram, QHostAddress(QStringLiteral("127.0.0.1")), port);
    }
    const QList<QNetworkDatagram>& Received() const { return received_; }
    qsizetype Count() const { return received_.size(); }

private:
    QUdpSocket socket_;
    QList<QNetworkDatagram> received_;
};

TOLG Decode(const QByteArray& reply) {
    TOLG record;
    DecodeReplyItems(reinterpret_cast<const std::uint8_t*>(reply.constData()),
                     static_cast<std::size_t>(reply.size()), record, SharedRegistry());
    return record;
}

QByteArray Request(std::uint8_t command, const QByteArray& destination, const QByteArray& items) {
    TSendBuf buffer;
    BuildHeader(buffer, command, nullptr, DefaultDistributorCode);
    QByteArray request = Bytes(buffer);
    request.replace(0, 8, destination);
    request.chop(2);
    return request + items + QByteArray::fromHex("FFFF");
}

QJsonArray ReadState(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
}

} // namespace

class TestOlgsimLoopback : public QObject {
    Q_OBJECT

private slots:
    void discoveryAnsweredFromDistinctAddresses_data();
    void discoveryAnsweredFromDistinctAddresses();
    void writeVisibleInStateFile();
    void delayedDeviceAnswersLast();
    void garbageNeverStopsTheSimulator();
    void stopsCleanlyOnSignal_data();
    void stopsCleanlyOnSignal();
    void commandLine_data();
    void commandLine();
};

void TestOlgsimLoopback::discoveryAnsweredFromDistinctAddresses_data() {
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("replyBase");
    QTest::newRow("fleet of 20") << 20 << QStringLiteral("127.0.0.10");
    QTest::newRow("fleet of 11, one per type code") << 11 << QStringLiteral("127.0.0.10");
    QTest::newRow("fleet across an octet") << 12 << QStringLiteral("127.0.0.250");
}

void TestOlgsimLoopback::discoveryAnsweredFromDistinctAddresses() {
    QFETCH(int, count);
    QFETCH(QString, replyBase);
    Simulator simulator;
    QVERIFY(simulator.Start(
        {QStringLiteral("--fleet"), QString::number(count), QStringLiteral("--reply-base"), replyBase}));
    QCOMPARE(simulator.ReadyLine().section(QLatin1Char(' '), 1, 1), QString::number(count));
    Client client;
    client.Send(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), count, ReplyTimeoutMs);

    const quint32 base = QHostAddress(replyBase).toIPv4Address();
    QSet<quint32> sources;
    QSet<QByteArray> identities;
    QSet<quint32> typeCodes;
    for (const QNetworkDatagram& reply : client.Received()) {
        const quint32 source = reply.senderAddress().toIPv4Address();
        QVERIFY2(source >= base && source < base + static_cast<quint32>(count),
                 qPrintable(reply.senderAddress().toString()));
        QCOMPARE(reply.senderPort(), static_cast<int>(simulator.Port()));
        sources.insert(source);
        identities.insert(reply.data().mid(8, 8));
        QCOMPARE(reply.data().mid(8, 2), QByteArray::fromHex("0001"));
        const TOLG record = Decode(reply.data());
        // On loopback a device lives at the address it answers from.
        QCOMPARE(static_cast<quint32>(record.Value(2).AsInteger()), source);
        typeCodes.insert(static_cast<quint32>(record.Value(13).AsInteger()));
    }
    QCOMPARE(sources.size(), count);
    QCOMPARE(identities.size(), count);
    QCOMPARE(typeCodes.size(), std::min(count, 11));
    for (const auto& entry : SharedRegistry().Entries())
        QVERIFY(typeCodes.contains(entry.TypeCode));

    // One request, one answer per device: a read of one device gets exactly one more datagram, and nothing
    // else arrives before it.
    const QByteArray first = client.Received().first().data().mid(8, 8);
    client.Send(Request(CommandRead, first, QByteArray::fromHex("000700")), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), count + 1, ReplyTimeoutMs);
    QCOMPARE(client.Received().last().data().mid(8, 8), first);
}

void TestOlgsimLoopback::writeVisibleInStateFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString state = dir.filePath(QStringLiteral("state.json"));
    Simulator simulator;
    QVERIFY(simulator.Start({QStringLiteral("--fleet"), QStringLiteral("3"), QStringLiteral("--reply-base"),
                             QStringLiteral("127.0.0.10"), QStringLiteral("--state"), state}));
    const QJsonArray before = ReadState(state);
    QCOMPARE(before.size(), 3);
    QCOMPARE(before[1].toObject().value(QStringLiteral("model")).toString(), QStringLiteral("olg4a"));

    // Device 1 (olg4a): a new name with a byte beyond ASCII, and the login of user 1 (id 57).
    const QByteArray identity =
        QByteArray::fromHex("0001") +
        QByteArray::fromHex(
            before[1].toObject().value(QStringLiteral("mac")).toString().remove(QLatin1Char('-')).toLatin1());
    Client client;
    client.Send(
        Request(CommandWrite, identity, QByteArray::fromHex("0007 06 42FC726F2031 0039 05 616C696365")),
        simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 1, ReplyTimeoutMs);
    QCOMPARE(client.Received().first().senderAddress(), QHostAddress(QStringLiteral("127.0.0.11")));

    // The state is on disk by the time the answer arrives.
    const QJsonArray after = ReadState(state);
    QCOMPARE(after.size(), 3);
    const QJsonObject params = after[1].toObject().value(QStringLiteral("params")).toObject();
    QCOMPARE(params.value(QStringLiteral("7")).toString().toLatin1(), QByteArray("B\xFCro 1"));
    QCOMPARE(params.value(QStringLiteral("57")).toString(), QStringLiteral("alice"));
    // Nothing else changed.
    QJsonObject expected = before[1].toObject().value(QStringLiteral("params")).toObject();
    expected.insert(QStringLiteral("7"), params.value(QStringLiteral("7")));
    expected.insert(QStringLiteral("57"), params.value(QStringLiteral("57")));
    QCOMPARE(params, expected);
    QCOMPARE(after[0], before[0]);
    QCOMPARE(after[2], before[2]);

    // And the device gives the new values back.
    client.Send(Request(CommandRead, identity, QByteArray::fromHex("0007 00 0039 00")), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 2, ReplyTimeoutMs);
    const TOLG record = Decode(client.Received().last().data());
    QCOMPARE(record.Value(7).AsText(), std::string("B\xFCro 1"));

    // A loopback address written to parameter 2 moves the device there, and the state file resumes it.
    client.Send(Request(CommandWrite, identity, QByteArray::fromHex("0002 04 7F00004D")), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 3, ReplyTimeoutMs);
    QCOMPARE(client.Received().last().senderAddress(), QHostAddress(QStringLiteral("127.0.0.77")));
    QCOMPARE(ReadState(state)[1].toObject().value(QStringLiteral("replyAddress")).toString(),
             QStringLiteral("127.0.0.77"));
    Simulator resumed;
    QVERIFY(resumed.Start(
        {QStringLiteral("--config"), state, QStringLiteral("--reply-base"), QStringLiteral("127.0.0.10")}));
    client.Send(Request(CommandRead, identity, QByteArray::fromHex("0007 00")), resumed.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 4, ReplyTimeoutMs);
    QCOMPARE(client.Received().last().senderAddress(), QHostAddress(QStringLiteral("127.0.0.77")));
    QCOMPARE(Decode(client.Received().last().data()).Value(7).AsText(), std::string("B\xFCro 1"));
}

void TestOlgsimLoopback::delayedDeviceAnswersLast() {
    Simulator simulator;
    QVERIFY(simulator.Start(
        {QStringLiteral("--reply-base"), QStringLiteral("127.0.0.10"), QStringLiteral("--device"),
         QStringLiteral("type=0x08000100,mac=00-0A-95-9D-68-16,delay=400"), QStringLiteral("--device"),
         QStringLiteral("type=0x01010100,mac=00-0A-95-9D-68-17")}));
    Client client;
    client.Send(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 2, ReplyTimeoutMs);
    QCOMPARE(client.Received()[0].senderAddress(), QHostAddress(QStringLiteral("127.0.0.11")));
    QCOMPARE(client.Received()[1].senderAddress(), QHostAddress(QStringLiteral("127.0.0.10")));
}

void TestOlgsimLoopback::garbageNeverStopsTheSimulator() {
    Simulator simulator;
    QVERIFY(simulator.Start({QStringLiteral("--fleet"), QStringLiteral("11"), QStringLiteral("--reply-base"),
                             QStringLiteral("127.0.0.10")}));
    {
        Client noise;
        std::mt19937 random(7);
        std::uniform_int_distribution<int> byte(0, 255);
        for (int i = 0; i < 3000; ++i) {
            QByteArray datagram(byte(random) * 2, Qt::Uninitialized);
            for (char& b : datagram)
                b = static_cast<char>(byte(random));
            if (datagram.size() >= 25 && i % 2 == 0) {
                // Past the identity checks, into the item walk.
                datagram.replace(0, 16, QByteArray::fromHex("0001FFFFFFFFFFFF0000000000000000"));
                datagram[24] = static_cast<char>(1 + i % 4);
            }
            noise.Send(datagram, simulator.Port());
        }
    }
    Client client;
    client.Send(Bytes(BuildDiscoveryRequest(DefaultDistributorCode)), simulator.Port());
    QTRY_COMPARE_WITH_TIMEOUT(client.Count(), 11, ReplyTimeoutMs);
    QCOMPARE(simulator.Process().state(), QProcess::Running);
}

void TestOlgsimLoopback::stopsCleanlyOnSignal_data() {
    QTest::addColumn<int>("signalNumber");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
}

void TestOlgsimLoopback::stopsCleanlyOnSignal() {
    QFETCH(int, signalNumber);
    Simulator simulator;
    QVERIFY(simulator.Start({QStringLiteral("--fleet"), QStringLiteral("2")}));
    QCOMPARE(::kill(static_cast<pid_t>(simulator.Process().processId()), signalNumber), 0);
    QVERIFY(simulator.Process().waitForFinished(StartTimeoutMs));
    QCOMPARE(simulator.Process().exitStatus(), QProcess::NormalExit);
    QCOMPARE(simulator.Process().exitCode(), 0);
}

void TestOlgsimLoopback::commandLine_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("output"); // texts that must appear on stdout or stderr
    QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                          << QStringList{QStringLiteral("--device"),
                                         QStringLiteral("--fleet"),
                                         QStringLiteral("--config"),
                                         QStringLiteral("--state"),
                                         QStringLiteral("--listen"),
                                         QStringLiteral("--reply-base"),
                                         QStringLiteral("--broadcast-replies"),
                                         QStringLiteral("noanswer"),
                                         QStringLiteral("delay="),
                                         QStringLiteral("drop="),
                                         QStringLiteral("garbled"),
                                         QStringLiteral("truncated"),
                                         QStringLiteral("wronglengths"),
                                         QStringLiteral("nonmac"),
                                         QStringLiteral("upgrade=tftp|ftp|none")};
    QTest::newRow("bad fleet") << QStringList{QStringLiteral("--fleet"), QStringLiteral("x")} << 2
                               << QStringList{QStringLiteral("--fleet")};
    QTest::newRow("unknown option") << QStringList{QStringLiteral("--frobnicate")} << 2
                                    << QStringList{QStringLiteral("frobnicate")};
    QTest::newRow("missing config file")
        << QStringList{QStringLiteral("--config"), QStringLiteral("/nonexistent.json")} << 2
        << QStringList{QStringLiteral("/nonexistent.json")};
}

void TestOlgsimLoopback::commandLine() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, output);
    QProcess process;
    process.start(QStringLiteral(OLGSIM_PATH), arguments);
    QVERIFY(process.waitForFinished(StartTimeoutMs));
    QCOMPARE(process.exitCode(), exitCode);
    const QString text =
        QString::fromLocal8Bit(process.readAllStandardOutput() + process.readAllStandardError());
    for (const QString& expected : output)
        QVERIFY2(text.contains(expected), qPrintable(expected));
}

QTEST_GUILESS_MAIN(TestOlgsimLoopback)
#include "test_olgsim_loopback.moc"
