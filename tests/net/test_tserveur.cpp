// The UDP exchange on loopback: against a plain socket standing in for a device, and against the simulator.

#include "Datagram.h"
#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "FakePeer.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TServeur.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <memory>

using namespace olg;
using olg::testing::FakePeer;
using olg::testing::RecordingPrompts;

namespace {

enum class Operation { Discover, ReadAll, WriteGeneral, WriteAll, ImageUpgrade, FileUpgrade };

constexpr std::uint32_t Olg8a = 0x08000100;
constexpr std::uint32_t Olg8w = 0x08030100;
const QHostAddress Own(QStringLiteral("127.0.0.1"));
const QHostAddress PeerAddress(QStringLiteral("127.0.0.2"));

TOLG Record(std::uint32_t typeCode, std::uint64_t mac) {
    TOLG record;
    record.Identity = MacIdentity(mac);
    record.Mac = mac;
    record.SetValue(13, ParamValue::Integer(static_cast<std::int32_t>(typeCode)));
    return record;
}

ExchangeSettings Loopback(const QHostAddress& target, quint16 targetPort, quint16 bindPort = 0) {
    ExchangeSettings settings;
    settings.BindAddress = Own;
    settings.BindPort = bindPort;
    settings.TargetAddress = target;
    settings.TargetPort = targetPort;
    return settings;
}

void Run(TServeur& serveur, Operation operation, const TOLG& record, QObject* target,
         TServeur::ReplyHandler handler) {
    switch (operation) {
    case Operation::Discover:
        serveur.Discover(target, std::move(handler));
        break;
    case Operation::ReadAll:
        serveur.ReadAll(record, target, std::move(handler));
        break;
    case Operation::WriteGeneral:
        QCOMPARE(serveur.WriteGeneral(record, target, std::move(handler)), 0);
        break;
    case Operation::WriteAll:
        QCOMPARE(serveur.WriteAll(record, target, std::move(handler)), 0);
        break;
    case Operation::ImageUpgrade:
        serveur.RequestImageUpgrade(QStringLiteral("192.168.1.10"), target, std::move(handler));
        break;
    case Operation::FileUpgrade:
        serveur.RequestFileUpgrade(QStringLiteral("192.168.1.10"), target, std::move(handler));
        break;
    }
}

// Sends one datagram from a socket bound to the given loopback address, after a delay.
void SendLater(int delayMs, const QHostAddress& from, quint16 toPort, const QByteArray& datagram,
               QObject* context) {
    QTimer::singleShot(delayMs, context, [from, toPort, datagram] {
        QUdpSocket sender;
        sender.bind(from, 0);
        sender.writeDatagram(datagram, Own, toPort);
    });
}

} // namespace

class TestTServeur : public QObject {
    Q_OBJECT

private slots:
    void waitLimits_data();
    void waitLimits();
    void acceptance_data();
    void acceptance();
    void handlerOfGoneTarget_data();
    void handlerOfGoneTarget();
    void lateReplyReachesLatestHandler();
    void repliesDuringHandlerComeAfterIt();
    void serveurDestroyedByHandler();
    void portInUse();
    void tooLongText_data();
    void tooLongText();
    void simulatorWaits_data();
    void simulatorWaits();
    void simulatorStoresFullWrite();
    void endpointOptions_data();
    void endpointOptions();

private:
    const DeviceRegistry registry_ = StandardRegistry();
};

void TestTServeur::waitLimits_data() {
    QTest::addColumn<Operation>("operation");
    QTest::addColumn<std::uint32_t>("typeCode");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<int>("datagrams");
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    // A silent device makes every datagram wait its whole limit (0, 100 ms, 1.5 s or 1 s), never less, and
    // not twice as long.
    QTest::newRow("discover, silent") << Operation::Discover << Olg8a << false << 1 << 1 << 0 << 150;
    QTest::newRow("read olg8a, silent") << Operation::ReadAll << Olg8a << false << 5 << 1 << 500 << 799;
    QTest::newRow("general write, silent")
        << Operation::WriteGeneral << Olg8a << false << 1 << 2 << 1500 << 2399;
    QTest::newRow("full write olg8a, silent")
        << Operation::WriteAll << Olg8a << false << 5 << 2 << 7500 << 11999;
    QTest::newRow("image upgrade, silent")
        << Operation::ImageUpgrade << Olg8a << false << 1 << 3 << 1000 << 1599;
    QTest::newRow("file upgrade, silent")
        << Operation::FileUpgrade << Olg8a << false << 1 << 4 << 1000 << 1599;
    // An answer ends each wait at once.
    QTest::newRow("read olg8a, answered") << Operation::ReadAll << Olg8a << true << 5 << 1 << 0 << 1500;
    QTest::newRow("general write, answered")
        << Operation::WriteGeneral << Olg8w << true << 1 << 2 << 0 << 1500;
    QTest::newRow("full write olg8a, answered")
        << Operation::WriteAll << Olg8a << true << 5 << 2 << 0 << 1500;
    QTest::newRow("image upgrade, answered")
        << Operation::ImageUpgrade << Olg8a << true << 1 << 3 << 0 << 1500;
}

void TestTServeur::waitLimits() {
    QFETCH(Operation, operation);
    QFETCH(std::uint32_t, typeCode);
    QFETCH(bool, answers);
    QFETCH(int, datagrams);
    QFETCH(int, command);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    FakePeer peer(PeerAddress);
    peer.answers = answers;
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QVERIFY(serveur.BindError().isEmpty());
    int replies = 0;
    QObject target;
    QElapsedTimer elapsed;
    elapsed.start();
    Run(serveur, operation, Record(typeCode, 0x00AABBCC0001ULL), &target,
        [&](const QString&, quint16, const QByteArray&, bool) { ++replies; });
    const qint64 ms = elapsed.elapsed();

    QVERIFY2(ms >= minMs && ms <= maxMs, qPrintable(QStringLiteral("took %1 ms").arg(ms)));
    QTRY_COMPARE(peer.requests.size(), datagrams);
    for (const QByteArray& request : peer.requests)
        QCOMPARE(static_cast<int>(request.at(CommandOffset)), command);
    if (answers)
        QCOMPARE(replies, datagrams);
    QVERIFY(prompts.errors.isEmpty());
}

void TestTServeur::acceptance_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QByteArray>("datagram");
    QTest::addColumn<bool>("accepted");

    const QByteArray reply = FakePeer::Reply(0x00AABBCC0002ULL);
    // The exchange hears its own broadcasts; anything from one of the host's addresses is no answer.
    QTest::newRow("from the host's own address") << QStringLiteral("127.0.0.1") << reply << false;
    QTest::newRow("from another host") << QStringLiteral("127.0.0.3") << reply << true;
    // The exchange does not look at what a datagram holds.
    QTest::newRow("unrelated bytes from another host")
        << QStringLiteral("127.0.0.4") << QByteArray("\x01\x02\x03", 3) << true;
}

void TestTServeur::acceptance() {
    QFETCH(QString, from);
    QFETCH(QByteArray, datagram);
    QFETCH(bool, accepted);

    FakePeer peer(PeerAddress);
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QStringList senders;
    QList<QByteArray> received;
    QObject target;
    SendLater(100, QHostAddress(from), serveur.LocalPort(), datagram, this);
    QElapsedTimer elapsed;
    elapsed.start();
    serveur.WriteGeneral(Record(Olg8w, 0x00AABBCC0001ULL), &target,
                         [&](const QString& sender, quint16, const QByteArray& data, bool complete) {
                             QVERIFY(complete);
                             senders.append(sender);
                             received.append(data);
                         });
    const qint64 ms = elapsed.elapsed();

    if (accepted) {
        QVERIFY2(ms < 1400, qPrintable(QStringLiteral("the wait went on for %1 ms").arg(ms)));
        QCOMPARE(senders, QStringList{from});
        QCOMPARE(received, QList<QByteArray>{datagram});
    } else {
        QVERIFY2(ms >= 1400, qPrintable(QStringLiteral("the wait ended after %1 ms").arg(ms)));
        QVERIFY(senders.isEmpty());
    }
}

void TestTServeur::handlerOfGoneTarget_data() {
    QTest::addColumn<int>("deleteAtMs"); // -1: never, 0: before the wait, else during it
    QTest::addColumn<bool>("withTarget");
    QTest::addColumn<int>("calls");

    QTest::newRow("target alive") << -1 << true << 1;
    QTest::newRow("target deleted before the reply") << 0 << true << 0;
    QTest::newRow("target deleted during the wait") << 50 << true << 0;
    QTest::newRow("no target") << -1 << false << 0;
}

void TestTServeur::handlerOfGoneTarget() {
    QFETCH(int, deleteAtMs);
    QFETCH(bool, withTarget);
    QFETCH(int, calls);

    FakePeer peer(PeerAddress);
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QPointer<QObject> target = withTarget ? new QObject : nullptr;
    int handled = 0;
    serveur.Discover(target, [&](const QString&, quint16, const QByteArray&, bool) { ++handled; });
    if (deleteAtMs == 0)
        delete target;
    else if (deleteAtMs > 0)
        QTimer::singleShot(deleteAtMs, this, [&target] { delete target; });

    // A bare wait registers no handler of its own: the reply must end it, whoever receives it.
    SendLater(150, PeerAddress, serveur.LocalPort(), FakePeer::Reply(peer.mac), this);
    QElapsedTimer elapsed;
    elapsed.start();
    serveur.SendAndWait(BuildDiscoveryRequest(DefaultDistributorCode), TServeur::WriteLimit);
    QVERIFY2(elapsed.elapsed() < 1400, "the reply did not end the wait");
    QCOMPARE(handled, calls);
    delete target;
}

void TestTServeur::lateReplyReachesLatestHandler() {
    FakePeer peer(PeerAddress);
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QObject target;
    int first = 0;
    int latest = 0;
    serveur.Discover(&target, [&](const QString&, quint16, const QByteArray&, bool) { ++first; });
    serveur.ReadAll(Record(Olg8w, peer.mac), &target,
                    [&](const QString&, quint16, const QByteArray&, bool) { ++latest; });
    QCOMPARE(latest, 0);

    // Long after both waits ended.
    peer.SendTo(Own, serveur.LocalPort(), FakePeer::Reply(peer.mac));
    peer.SendTo(Own, serveur.LocalPort(), FakePeer::Reply(peer.mac));
    QTRY_COMPARE(latest, 2);
    QCOMPARE(first, 0);
}

void TestTServeur::repliesDuringHandlerComeAfterIt() {
    FakePeer peer(PeerAddress);
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QObject target;
    QList<char> order;
    int depth = 0;
    int deepest = 0;
    const auto send = [&](char tag) {
        peer.SendTo(Own, serveur.LocalPort(), FakePeer::Reply(peer.mac, QByteArray(1, tag)));
    };
    serveur.Discover(&target, [&](const QString&, quint16, const QByteArray& datagram, bool) {
        ++depth;
        deepest = std::max(deepest, depth);
        const char tag = datagram.at(25);
        order.append(tag);
        if (tag == 'a') {
            // The handler keeps the event loop running for a while, as a transfer in an upgrade handler does;
            // the datagrams arriving meanwhile must wait for it.
            QEventLoop busy;
            QTimer::singleShot(10, &target, [&] { send('b'); });
            QTimer::singleShot(40, &target, [&] { send('c'); });
            QTimer::singleShot(70, &target, [&] { send('d'); });
            QTimer::singleShot(300, &busy, &QEventLoop::quit);
            busy.exec();
            QCOMPARE(order, QList<char>{'a'});
        }
        --depth;
    });
    send('a');
    QTRY_COMPARE(order, (QList<char>{'a', 'b', 'c', 'd'}));
    QCOMPARE(deepest, 1);
    // And the exchange still hears what comes afterwards.
    send('e');
    QTRY_COMPARE(order.size(), 5);
}

void TestTServeur::serveurDestroyedByHandler() {
    FakePeer peer(PeerAddress);
    peer.answers = true;
    RecordingPrompts prompts;
    QPointer<TServeur> serveur = new TServeur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    QObject target;
    // The program may end while a split write waits: the write must stop instead of using what is gone.
    serveur->WriteAll(Record(Olg8a, peer.mac), &target,
                      [&](const QString&, quint16, const QByteArray&, bool) { delete serveur.data(); });
    QVERIFY(serveur.isNull());
    QTRY_COMPARE(peer.requests.size(), 1);
    QTest::qWait(100);
    QCOMPARE(peer.requests.size(), 1);
    QVERIFY(prompts.errors.isEmpty());
}

void TestTServeur::portInUse() {
    QUdpSocket holder;
    QVERIFY(holder.bind(Own, 0, QAbstractSocket::DontShareAddress));
    FakePeer peer(PeerAddress);
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port(), holder.localPort()));
    const QString expected =
        QStringLiteral("UDP port %1 is already in use by another program").arg(holder.localPort());
    QCOMPARE(serveur.BindError(), expected);

    QObject target;
    serveur.Discover(&target, [](const QString&, quint16, const QByteArray&, bool) {});
    QCOMPARE(prompts.errors, QStringList{QStringLiteral("Connection Error: ") + expected});
}

void TestTServeur::tooLongText_data() {
    QTest::addColumn<bool>("generalOnly");
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("length");
    QTest::addColumn<int>("refused");

    QTest::newRow("general text of 255 bytes") << true << 7 << 255 << 0;
    QTest::newRow("general text of 256 bytes") << true << 7 << 256 << 7;
    QTest::newRow("text of 255 bytes, full write") << false << 9 << 255 << 0;
    QTest::newRow("text of 256 bytes in the last datagram") << false << 441 << 256 << 441;
}

void TestTServeur::tooLongText() {
    QFETCH(bool, generalOnly);
    QFETCH(int, id);
    QFETCH(int, length);
    QFETCH(int, refused);

    FakePeer peer(PeerAddress);
    peer.answers = true;
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, Loopback(PeerAddress, peer.Port()));
    TOLG record = Record(Olg8a, peer.mac);
    record.SetValue(id, ParamValue::Text(std::string(static_cast<std::size_t>(length), 'x')));
    QObject target;
    const auto ignore = [](const QString&, quint16, const QByteArray&, bool) {};
    QCOMPARE(serveur.WriteParams(record, generalOnly, &target, ignore), refused);

    // A discovery afterwards: when the write was refused it is the first thing the peer hears.
    serveur.Discover(&target, ignore);
    const int writes = refused != 0 ? 0 : generalOnly ? 1 : 5;
    QTRY_COMPARE(peer.requests.size(), writes + 1);
    for (int i = 0; i < writes; ++i)
        QCOMPARE(static_cast<int>(peer.requests.at(i).at(CommandOffset)), int(CommandWrite));
    QCOMPARE(
        peer.requests.last(),
        QByteArray(reinterpret_cast<const char*>(BuildDiscoveryRequest(DefaultDistributorCode).data()), 60));
    QVERIFY(prompts.errors.isEmpty());
}

void TestTServeur::simulatorWaits_data() {
    QTest::addColumn<QString>("faults");
    QTest::addColumn<int>("replies");
    QTest::addColumn<int>("minMs");
    QTest::addColumn<int>("maxMs");

    QTest::newRow("answering olg8a") << QString() << 5 << 0 << 1500;
    QTest::newRow("silent olg8a") << QStringLiteral(",noanswer") << 0 << 7500 << 11999;
}

void TestTServeur::simulatorWaits() {
    QFETCH(QString, faults);
    QFETCH(int, replies);
    QFETCH(int, minMs);
    QFETCH(int, maxMs);

    SimulatedLan lan;
    QString error;
    QVERIFY2(lan.StartSimulator({QStringLiteral("--device"),
                                 QStringLiteral("type=0x08000100,mac=00-AA-BB-CC-00-01,name=Group") + faults},
                                &error),
             qPrintable(error));
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, lan.Settings());
    QObject target;
    int handled = 0;
    QElapsedTimer elapsed;
    elapsed.start();
    QCOMPARE(serveur.WriteAll(Record(Olg8a, 0x00AABBCC0001ULL), &target,
                              [&](const QString& sender, quint16, const QByteArray&, bool) {
                                  QCOMPARE(sender, QStringLiteral("127.0.0.10"));
                                  ++handled;
                              }),
             0);
    const qint64 ms = elapsed.elapsed();
    QVERIFY2(ms >= minMs && ms <= maxMs, qPrintable(QStringLiteral("took %1 ms").arg(ms)));
    QCOMPARE(handled, replies);
}

void TestTServeur::simulatorStoresFullWrite() {
    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("state.json"));
    SimulatedLan lan;
    QString error;
    QVERIFY2(lan.StartSimulator(
                 {QStringLiteral("--device"), QStringLiteral("type=0x08000100,mac=00-AA-BB-CC-00-01"),
                  QStringLiteral("--device"), QStringLiteral("type=0x08030100,mac=00-AA-BB-CC-00-02"),
                  QStringLiteral("--state"), state},
                 &error),
             qPrintable(error));
    RecordingPrompts prompts;
    TServeur serveur(registry_, prompts, lan.Settings());

    // Discovery first, as the program does, so that the record carries what the device holds.
    QObject target;
    DeviceList devices(registry_);
    serveur.Discover(&target, [&](const QString& sender, quint16, const QByteArray& datagram, bool) {
        devices.MergeReply(sender.toStdString(), reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                           static_cast<std::size_t>(datagram.size()));
    });
    QTRY_COMPARE(devices.Size(), 2);
    const int index = devices.Find(MacIdentity(0x00AABBCC0001ULL));
    QVERIFY(index >= 0);
    serveur.ReadAll(devices.At(index), &target,
                    [&](const QString& sender, quint16, const QByteArray& datagram, bool) {
                        devices.MergeReply(sender.toStdString(),
                                           reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                                           static_cast<std::size_t>(datagram.size()));
                    });
    TOLG record = devices.At(index);
    QVERIFY(!record.Value(481).IsEmpty()); // read from the fifth datagram's range
    record.SetValue(37, ParamValue::Text("ops@example.org"));
    record.SetValue(439, ParamValue::Text("Group device 5"));
    int handled = 0;
    QCOMPARE(serveur.WriteAll(record, &target,
                              [&](const QString&, quint16, const QByteArray&, bool) { ++handled; }),
             0);
    QCOMPARE(handled, 5);

    const auto stored = [&](int id) {
        QFile file(state);
        if (!file.open(QIODevice::ReadOnly))
            return QJsonValue();
        const QJsonArray list =
            QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
        for (const QJsonValue& device : list) {
            if (device[QStringLiteral("mac")] == QStringLiteral("00-AA-BB-CC-00-01"))
                return device[QStringLiteral("params")][QString::number(id)];
        }
        return QJsonValue();
    };
    QTRY_COMPARE(stored(37).toString(), QStringLiteral("ops@example.org"));
    QCOMPARE(stored(439).toString(), QStringLiteral("Group device 5"));
    QVERIFY(prompts.errors.isEmpty());
}

void TestTServeur::endpointOptions_data() {
    QTest::addColumn<QString>("bind");
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("taken"); // "bind > target" as taken, or the start of the message
    QTest::newRow("free local port") << "127.0.0.1:0"
                                     << "127.0.0.2:9"
                                     << "127.0.0.1:0 > 127.0.0.2:9";
    QTest::newRow("no free port to send to") << "127.0.0.1:1"
                                             << "127.0.0.2:0"
                                             << "--target takes ADDR:PORT";
    QTest::newRow("not IPv4") << "[::1]:52389"
                              << "127.0.0.2:9"
                              << "--bind takes ADDR:PORT";
}

void TestTServeur::endpointOptions() {
    QFETCH(QString, bind);
    QFETCH(QString, target);
    QFETCH(QString, taken);
    ExchangeSettings settings;
    const QString wrong = settings.TakeEndpointOptions(bind, target);
    const QString result = QStringLiteral("%1:%2 > %3:%4")
                               .arg(settings.BindAddress.toString())
                               .arg(settings.BindPort)
                               .arg(settings.TargetAddress.toString())
                               .arg(settings.TargetPort);
    QVERIFY2((wrong.isEmpty() ? result : wrong).startsWith(taken), qPrintable(wrong));
}

QTEST_GUILESS_MAIN(TestTServeur)
#include "test_tserveur.moc"
