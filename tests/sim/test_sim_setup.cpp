// olgsim's command line, configuration file and state file.

#include "TestSupport.h"

#include "SetupLoader.h"
#include "StateWriter.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

using namespace olg;
using namespace olg::testing;
using namespace olg::sim;

namespace {

QStringList Arguments(const QString& line) {
    return QStringList{QStringLiteral("olgsim")} + line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestSimSetup : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data();
    void commandLine();
    void deviceSpec();
    void replyBaseCarriesIntoHigherOctets();
    void configFile();
    void script_data();
    void script();
    void stateFile();
};

void TestSimSetup::commandLine_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<int>("devices");
    QTest::addColumn<QString>("message"); // part of the error text
    const int run = static_cast<int>(SetupLoader::Outcome::Run),
              error = static_cast<int>(SetupLoader::Outcome::Error);
    const QString mac = QStringLiteral("mac=00-0A-95-9D-68-16");
    QTest::newRow("nothing") << QString() << run << 0 << QString();
    QTest::newRow("help") << QStringLiteral("--fleet 3 --help")
                          << static_cast<int>(SetupLoader::Outcome::Help) << 0 << QString();
    QTest::newRow("fleet") << QStringLiteral("--fleet 20") << run << 20 << QString();
    QTest::newRow("devices and fleet")
        << QStringLiteral("--device %1 --device type=0x08000100,mac=000000000001 --fleet 2").arg(mac) << run
        << 4 << QString();
    QTest::newRow("device without mac")
        << QStringLiteral("--device type=0x08000100") << error << 0 << QStringLiteral("mac");
    QTest::newRow("bad type") << QStringLiteral("--device type=0xZZ,%1").arg(mac) << error << 0
                              << QStringLiteral("type");
    QTest::newRow("type beyond 32 bits")
        << QStringLiteral("--device type=0x100000000,%1").arg(mac) << error << 0 << QStringLiteral("type");
    QTest::newRow("bad address") << QStringLiteral("--device ip=1.2.3,%1").arg(mac) << error << 0
                                 << QStringLiteral("ip");
    QTest::newRow("bad upgrade") << QStringLiteral("--device upgrade=http,%1").arg(mac) << error << 0
                                 << QStringLiteral("upgrade");
    QTest::newRow("unknown key") << QStringLiteral("--device colour=red,%1").arg(mac) << error << 0
                                 << QStringLiteral("colour");
    QTest::newRow("drop above 1") << QStringLiteral("--device drop=1.5,%1").arg(mac) << error << 0
                                  << QStringLiteral("drop");
    QTest::newRow("param beyond 999")
        << QStringLiteral("--device param1000=1,%1").arg(mac) << error << 0 << QStringLiteral("param1000");
    QTest::newRow("bad fleet") << QStringLiteral("--fleet many") << error << 0 << QStringLiteral("--fleet");
    QTest::newRow("bad fleet faults")
        << QStringLiteral("--fleet 2 --fleet-faults slow") << error << 0 << QStringLiteral("slow");
    QTest::newRow("listen without port")
        << QStringLiteral("--listen 127.0.0.1") << error << 0 << QStringLiteral("--listen");
    QTest::newRow("listen on a name")
        << QStringLiteral("--listen localhost:5000") << error << 0 << QStringLiteral("--listen");
    QTest::newRow("reply base off loopback")
        << QStringLiteral("--fleet 2 --reply-base 10.0.0.1") << error << 0 << QStringLiteral("127.0.0.0/8");
    QTest::newRow("fleet beyond loopback")
        << QStringLiteral("--fleet 300 --reply-base 127.255.255.0") << error << 0 << QStringLiteral("fit");
    QTest::newRow("fleet up to the last loopback address")
        << QStringLiteral("--fleet 255 --reply-base 127.255.255.0") << run << 255 << QString();
    QTest::newRow("broadcast replies in loopback mode")
        << QStringLiteral("--fleet 2 --reply-base 127.0.0.10 --broadcast-replies") << error << 0
        << QStringLiteral("real mode");
    QTest::newRow("stray argument") << QStringLiteral("--fleet 2 extra") << error << 0
                                    << QStringLiteral("extra");
}

void TestSimSetup::commandLine() {
    QFETCH(QString, line);
    QFETCH(int, outcome);
    QFETCH(int, devices);
    QFETCH(QString, message);
    SetupLoader loader(SharedRegistry());
    QCOMPARE(static_cast<int>(loader.Load(Arguments(line))), outcome);
    if (outcome == static_cast<int>(SetupLoader::Outcome::Run))
        QCOMPARE(static_cast<int>(loader.Setup().Devices.size()), devices);
    QVERIFY2(loader.Message().contains(message), qPrintable(loader.Message()));
}

void TestSimSetup::deviceSpec() {
    SetupLoader loader(SharedRegistry());
    QCOMPARE(
        loader.Load(Arguments(QStringLiteral(
            "--listen 127.0.0.1:40000 --reply-base 127.0.0.10 --device type=0x08000100,mac=00-0A-95-9D-68-16,"
            "ip=192.168.1.10,fw=1.2.0.0,name=RackA,upgrade=none,delay=40,drop=0.5,nonmac,param8=root "
            "--device type=3735928559,mac=000A959D6817"))),
        SetupLoader::Outcome::Run);
    const SimulatorSetup& setup = loader.Setup();
    QCOMPARE(setup.ListenAddress, QHostAddress(QStringLiteral("127.0.0.1")).toIPv4Address());
    QCOMPARE(setup.ListenPort, quint16(40000));
    QCOMPARE(setup.Devices.size(), std::size_t(2));
    const DeviceConfig& first = setup.Devices[0];
    QCOMPARE(first.TypeCode, 0x08000100u);
    QCOMPARE(first.Mac, 0x000A959D6816ull);
    QCOMPARE(first.Ip.value_or(0), 0xC0A8010Au);
    QCOMPARE(first.Firmware, std::string("1.2.0.0"));
    QCOMPARE(first.Name, std::string("RackA"));
    QCOMPARE(first.Upgrade.value_or(UpgradeAnswer::Tftp), UpgradeAnswer::None);
    QCOMPARE(first.Faults.DelayMs, 40);
    QCOMPARE(first.Faults.DropShare, 0.5);
    QVERIFY(first.Faults.NonMacIdentity);
    QVERIFY(!first.Faults.Garbled);
    const VirtualDevice device(first, *first.Ip, SharedRegistry());
    QCOMPARE(device.Store().Value(8).AsText(), std::string("root"));
    // An unregistered type code in decimal; without an address the device lives at its answering address.
    QCOMPARE(setup.Devices[1].TypeCode, 0xDEADBEEFu);
    QCOMPARE(setup.Devices[1].Ip.value_or(0), 0x7F00000Bu);
}

void TestSimSetup::replyBaseCarriesIntoHigherOctets() {
    SetupLoader loader(SharedRegistry());
    QCOMPARE(loader.Load(Arguments(QStringLiteral("--fleet 301 --reply-base 127.0.0.10"))),
             SetupLoader::Outcome::Run);
    QCOMPARE(loader.Setup().Devices[300].Ip.value_or(0),
             QHostAddress(QStringLiteral("127.0.1.54")).toIPv4Address());
}

void TestSimSetup::configFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("lan.json"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(R"({
        "listen": "127.0.0.1:41000",
        "replyBase": "127.0.0.50",
        "devices": [
            {"type": "0x04010100", "mac": "00:0A:95:9D:68:20", "name": "Caf\u00e9", "upgrade": "ftp",
             "faults": {"garbled": true, "delay": 15}, "params": {"56": "Lamp", "4": 8080}},
            {"type": 134283520, "mac": "00-0A-95-9D-68-21", "ip": "10.1.2.3"}
        ],
        "fleet": {"count": 3, "offset": 40, "faults": {"drop": 0.1}}
    })");
    file.close();
    SetupLoader loader(SharedRegistry());
    // The command line wins over the file.
    QCOMPARE(
        loader.Load({QStringLiteral("olgsim"), QStringLiteral("--config"), path, QStringLiteral("--listen"),
                     QStringLiteral("127.0.0.1:42000"), QStringLiteral("--fleet"), QStringLiteral("1")}),
        SetupLoader::Outcome::Run);
    const SimulatorSetup& setup = loader.Setup();
    QCOMPARE(setup.ListenPort, quint16(42000));
    QCOMPARE(setup.ReplyBase.value_or(0), QHostAddress(QStringLiteral("127.0.0.50")).toIPv4Address());
    QCOMPARE(setup.Devices.size(), std::size_t(6));
    const DeviceConfig& first = setup.Devices[0];
    QCOMPARE(first.TypeCode, 0x04010100u);
    QCOMPARE(first.Name, std::string("Caf\xE9")); // texts are bytes, one per character
    QVERIFY(first.Faults.Garbled);
    QCOMPARE(first.Faults.DelayMs, 15);
    const VirtualDevice device(first, *first.Ip, SharedRegistry());
    QCOMPARE(device.Store().Value(56).AsText(), std::string("Lamp"));
    QCOMPARE(device.Store().Value(4).AsInteger(), 8080);
    QCOMPARE(device.Upgrade(), UpgradeAnswer::Ftp);
    QCOMPARE(setup.Devices[1].TypeCode, 0x08010100u);
    QCOMPARE(setup.Devices[1].Ip.value_or(0), 0x0A010203u);
    // The file's fleet, numbered from its offset, then the command line's.
    QCOMPARE(setup.Devices[2].Mac, setup.Devices[5].Mac + 40);
    QCOMPARE(setup.Devices[2].Faults.DropShare, 0.1);
    QCOMPARE(setup.Devices[5].Faults.DropShare, 0.0);
    QCOMPARE(setup.Devices[5].Ip.value_or(0), QHostAddress(QStringLiteral("127.0.0.55")).toIPv4Address());
}

void TestSimSetup::script_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("actions"); // -1: refused
    QTest::addColumn<QString>("message");
    QTest::newRow("timed actions, comments, repeat")
        << QByteArray("# lab\n9 answer 00-0A-95-9D-68-16\n1.25 silent 000a959d6816 # unplugged\n"
                      "9 set 00:0A:95:9D:68:16 name=Rack B,fw=2.0.0.0,ip=127.0.0.40,param8=root\nrepeat 30\n")
        << 3 << QString();
    QTest::newRow("no time") << QByteArray("silent 00-0A-95-9D-68-16") << -1 << QStringLiteral("line 1");
    QTest::newRow("negative time") << QByteArray("-1.5 silent 00-0A-95-9D-68-16") << -1
                                   << QStringLiteral("line 1");
    QTest::newRow("four decimals") << QByteArray("\n1.2345 silent 00-0A-95-9D-68-16") << -1
                                   << QStringLiteral("line 2");
    QTest::newRow("unknown action") << QByteArray("1 unplug 00-0A-95-9D-68-16") << -1
                                    << QStringLiteral("unplug");
    QTest::newRow("bad MAC") << QByteArray("1 silent 00-0A-95") << -1 << QStringLiteral("MAC");
    QTest::newRow("words after silent")
        << QByteArray("1 silent 00-0A-95-9D-68-16 now") << -1 << QStringLiteral("now");
    QTest::newRow("set without keys") << QByteArray("1 set 00-0A-95-9D-68-16") << -1 << QStringLiteral("KEY");
    QTest::newRow("unknown key") << QByteArray("1 set 00-0A-95-9D-68-16 colour=red") << -1
                                 << QStringLiteral("colour");
    QTest::newRow("param beyond 999")
        << QByteArray("1 set 00-0A-95-9D-68-16 param1000=1") << -1 << QStringLiteral("param1000");
    QTest::newRow("bad address") << QByteArray("1 set 00-0A-95-9D-68-16 ip=10.0.0") << -1
                                 << QStringLiteral("10.0.0");
    QTest::newRow("repeat before the last action")
        << QByteArray("1 silent 00-0A-95-9D-68-16\nrepeat 1") << -1 << QStringLiteral("repeat");
    QTest::newRow("unknown device") << QByteArray("1 silent 00-0A-95-9D-68-99") << -1
                                    << QStringLiteral("00-0A-95-9D-68-99");
    QTest::newRow("address off loopback")
        << QByteArray("1 set 00-0A-95-9D-68-16 ip=10.0.0.1") << -1 << QStringLiteral("127.0.0.0/8");
}

void TestSimSetup::script() {
    QFETCH(QByteArray, text);
    QFETCH(int, actions);
    QFETCH(QString, message);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("lan.script"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
    file.close();
    SetupLoader loader(SharedRegistry());
    const auto outcome = loader.Load(
        Arguments(QStringLiteral("--reply-base 127.0.0.10 --device mac=00-0A-95-9D-68-16 --script ") + path));
    QVERIFY2(loader.Message().contains(message), qPrintable(loader.Message()));
    QCOMPARE(outcome == SetupLoader::Outcome::Run, actions >= 0);
    if (actions < 0)
        return;
    const DeviceScript& script = *loader.Setup().Script;
    QCOMPARE(static_cast<int>(script.Actions.size()), actions);
    QCOMPARE(script.RepeatMs, 30000);
    // In time order, equal times in file order.
    QCOMPARE(script.Actions[0].AtMs, 1250);
    QCOMPARE(script.Actions[1].What, DeviceAction::Kind::Answer);
    QCOMPARE(script.Actions[2].Settings.size(), std::size_t(4));
    QCOMPARE(script.Actions[2].Settings[0].second, std::string("Rack B"));
}

void TestSimSetup::stateFile() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("state.json"));
    DeviceConfig config;
    config.TypeCode = 0xF0000001u; // unregistered, above 2^31: must stay unsigned
    config.Mac = 0x000A959D6816ull;
    config.Name = "Caf\xE9\x80";
    config.Overrides[8] = std::string("a\0b", 3);
    std::vector<VirtualDevice> devices;
    devices.emplace_back(config, 0xC0A8010Au, SharedRegistry());
    config.TypeCode = 0x08000100u;
    config.Mac += 1;
    devices.emplace_back(config, 0xC0A8010Bu, SharedRegistry());
    StateWriter writer(path);
    QVERIFY(writer.WriteAll(devices, 0x7F00000Au));

    const auto read = [&path] {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QJsonArray();
        return QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    };
    QJsonArray state = read();
    QCOMPARE(state.size(), 2);
    const QJsonObject first = state[0].toObject();
    QCOMPARE(first.value(QStringLiteral("mac")).toString(), QStringLiteral("00-0A-95-9D-68-16"));
    QCOMPARE(first.value(QStringLiteral("type")).toString(), QStringLiteral("0xF0000001"));
    QCOMPARE(first.value(QStringLiteral("replyAddress")).toString(), QStringLiteral("127.0.0.10"));
    const QJsonObject params = first.value(QStringLiteral("params")).toObject();
    QCOMPARE(params.value(QStringLiteral("2")).toString(), QStringLiteral("192.168.1.10"));
    QCOMPARE(params.value(QStringLiteral("13")).toInteger(), qint64(0xF0000001u));
    QCOMPARE(params.value(QStringLiteral("7")).toString().toLatin1(), QByteArray("Caf\xE9\x80"));
    QCOMPARE(params.value(QStringLiteral("8")).toString().toLatin1(), QByteArray("a\0b", 3));
    QVERIFY(!params.contains(QStringLiteral("56"))); // an unregistered type has the common block only
    QCOMPARE(state[1].toObject().value(QStringLiteral("params")).toObject().size(), 249);

    // A change of one device rewrites the file with the new value and the other device as it was.
    const QByteArray write = QByteArray::fromHex("0001000A959D6817 0000000000000000 0001 2513 00000000 02"
                                                 "0007 02 4F4B FFFF");
    const DeviceAnswer answer = devices[1].Answer(reinterpret_cast<const std::uint8_t*>(write.constData()),
                                                  static_cast<std::size_t>(write.size()));
    QVERIFY(answer.Changed);
    QVERIFY(writer.Update(devices, 1, 0x7F00000Au));
    state = read();
    QCOMPARE(
        state[1].toObject().value(QStringLiteral("params")).toObject().value(QStringLiteral("7")).toString(),
        QStringLiteral("OK"));
    QCOMPARE(state[0].toObject(), first);
}

QTEST_GUILESS_MAIN(TestSimSetup)
#include "test_sim_setup.moc"
