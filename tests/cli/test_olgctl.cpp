// olgctl from the outside: the real program against the simulator on loopback.

#include "FakePeer.h"
#include "MacAddress.h"
#include "ProgressLine.h"
#include "ScanCommand.h"
#include "ScanLimit.h"
#include "Session.h"
#include "SimulatedLan.h"
#include "StreamingPeer.h"
#include "TestSupport.h"
#include "UpgradeFlow.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <memory>

using olg::SimulatedLan;
using olg::testing::FakePeer;
using olg::testing::ProgramResult;
using olg::testing::RunProgram;

namespace {

// The fleet every test starts from; replies come from 127.0.0.10, .11 and .12 in this order.
const QStringList Fleet{
    QStringLiteral("--device"),
    QStringLiteral("type=0x01010100,mac=00-0A-95-9D-68-16,ip=192.168.1.10,fw=1.4.0.0,name=Lobby rack"),
    QStringLiteral("--device"),
    QStringLiteral("type=0x08000100,mac=00-0A-95-9D-68-17,ip=192.168.1.11,fw=2.0.1.0,name=Print shop"),
    QStringLiteral("--device"),
    QStringLiteral("type=0x08030100,mac=00-0A-95-9D-68-18,ip=192.168.1.12,fw=3.1.0.0,name=Caf\u00e9"),
};

const char* const ScanTable =
    "Name        Type   IP Address  MAC Address        Type code   Firmware  Interface  Conflict\n"
    "Lobby rack  olg1n  127.0.0.10  00.0A.95.9D.68.16  0x01010100  1.4.0.0   lo\n"
    "Print shop  olg8a  127.0.0.11  00.0A.95.9D.68.17  0x08000100  2.0.1.0   lo\n"
    "Caf\u00e9        olg8w  127.0.0.12  00.0A.95.9D.68.18  0x08030100  3.1.0.0   lo\n";

const char* const ScanCsv = "Name,Type,IP Address,MAC Address,Type code,Firmware,Interface,Conflict\n"
                            "Lobby rack,olg1n,127.0.0.10,00.0A.95.9D.68.16,0x01010100,1.4.0.0,lo,\n"
                            "Print shop,olg8a,127.0.0.11,00.0A.95.9D.68.17,0x08000100,2.0.1.0,lo,\n"
                            "Caf\u00e9,olg8w,127.0.0.12,00.0A.95.9D.68.18,0x08030100,3.1.0.0,lo,\n";

// Ids, names, kinds and access of the olg8w table, as read shows them.
const char* const Olg8wLayout =
    "1 mask ip rw,2 ip ip rw,3 gateway ip rw,4 port u16 rw,5 model text r,6 flags u8 rw,7 name text rw,"
    "8 admin-login text rw,9 admin-password text rw,10 mac six r,11 revision text r,12 firmware text r,"
    "13 type u32 r,14 dns1 ip rw,15 dns2 ip rw,17 hidden-url text rw,18 hidden-login text rw,"
    "19 hidden-password text rw";

} // namespace

class TestOlgctl : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void scan_data();
    void scan();
    void readByAnyName_data();
    void readByAnyName();
    void writeThenRead_data();
    void writeThenRead();
    void refused_data();
    void refused();
    void deviceFailures_data();
    void deviceFailures();
    void silentDevice_data();
    void silentDevice();
    void floodOfReplies();
    void controlBytes_data();
    void controlBytes();
    void help_data();
    void help();
    void label_data();
    void label();
    void severalDevices_data();
    void severalDevices();
    void saveSeveralIntoAFolder();
    void apply_data();
    void apply();
    void diff_data();
    void diff();
    void upgrade_data();
    void upgrade();
    void progressLine_data();
    void progressLine();
    void transferText_data();
    void transferText();

private:
    void StartFleet(const QStringList& fleet);
    ProgramResult Run(QStringList arguments, bool loopback = true);
    // Parameter id -> value as the simulator stores it, for the device with this MAC ("00-0A-...").
    QJsonObject Stored(const QString& mac) const;
    QByteArray StateBytes() const;
    static QByteArray ReadAll(const QString& path);

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<SimulatedLan> lan_;
    quint16 target_ = 0;
};

void TestOlgctl::init() {
    // A fresh fleet for every case, so that no write leaks into the next one.
    dir_ = std::make_unique<QTemporaryDir>();
    StartFleet(Fleet);
}

void TestOlgctl::StartFleet(const QStringList& fleet) {
    lan_.reset();
    QFile::remove(dir_->filePath(QStringLiteral("state.json")));
    lan_ = std::make_unique<SimulatedLan>();
    QString error;
    QVERIFY2(lan_->StartSimulator(
                 fleet + QStringList{QStringLiteral("--state"), dir_->filePath(QStringLiteral("state.json"))},
                 &error),
             qPrintable(error));
    target_ = lan_->Port();
    QTRY_VERIFY(!Stored(QStringLiteral("00-0A-95-9D-68-18")).isEmpty());
}

void TestOlgctl::cleanup() {
    lan_.reset();
    dir_.reset();
}

ProgramResult TestOlgctl::Run(QStringList arguments, bool loopback) {
    // Never the real LAN: every run is told where to listen and where to send.
    if (loopback)
        arguments = QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"),
                                QStringLiteral("--target"), QStringLiteral("127.0.0.1:%1").arg(target_)} +
                    arguments;
    return RunProgram(QStringLiteral("olgctl"), arguments);
}

QByteArray TestOlgctl::ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray TestOlgctl::StateBytes() const {
    QFile file(dir_->filePath(QStringLiteral("state.json")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QJsonObject TestOlgctl::Stored(const QString& mac) const {
    const QJsonArray devices =
        QJsonDocument::fromJson(StateBytes()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue& device : devices) {
        if (device[QStringLiteral("mac")].toString() == mac)
            return device[QStringLiteral("params")].toObject();
    }
    return {};
}

void TestOlgctl::scan_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("expected");

    QTest::newRow("table") << QStringList{QStringLiteral("scan")} << QString::fromUtf8(ScanTable);
    QTest::newRow("csv") << QStringList{QStringLiteral("scan"), QStringLiteral("--format"),
                                        QStringLiteral("csv")}
                         << QString::fromUtf8(ScanCsv);
    QTest::newRow("json") << QStringList{QStringLiteral("scan"), QStringLiteral("--format=json")}
                          << QString();
}

void TestOlgctl::scan() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    const ProgramResult result = Run(arguments);
    QCOMPARE(result.ExitCode, 0);
    QCOMPARE(result.Err, QString());
    if (!expected.isEmpty()) {
        QCOMPARE(result.Out, expected);
        return;
    }
    const QJsonArray devices = QJsonDocument::fromJson(result.Out.toUtf8()).array();
    QCOMPARE(devices.size(), 3);
    QCOMPARE(devices[2].toObject(), (QJsonObject{{QStringLiteral("name"), QStringLiteral("Caf\u00e9")},
                                                 {QStringLiteral("type"), QStringLiteral("olg8w")},
                                                 {QStringLiteral("ip"), QStringLiteral("127.0.0.12")},
                                                 {QStringLiteral("mac"), QStringLiteral("00.0A.95.9D.68.18")},
                                                 {QStringLiteral("typeCode"), QStringLiteral("0x08030100")},
                                                 {QStringLiteral("firmware"), QStringLiteral("3.1.0.0")},
                                                 {QStringLiteral("interface"), QStringLiteral("lo")},
                                                 {QStringLiteral("conflict"), QString()}}));
    QCOMPARE(devices[0][QStringLiteral("name")].toString(), QStringLiteral("Lobby rack"));
}

void TestOlgctl::readByAnyName_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("wholeScan");
    QTest::addColumn<QString>("configured"); // the device's own address, when not that of the fleet

    // A MAC or the address its replies come from names the device as soon as it answers; a name, or a
    // configured address that a reply from elsewhere might also claim, needs every reply of the scan.
    QTest::newRow("MAC, dashes, lower case") << QStringLiteral("00-0a-95-9d-68-18") << false << QString();
    QTest::newRow("MAC, colons") << QStringLiteral("00:0A:95:9D:68:18") << false << QString();
    QTest::newRow("MAC, bare") << QStringLiteral("000A959D6818") << false << QString();
    QTest::newRow("address of its replies") << QStringLiteral("127.0.0.12") << false << QString();
    QTest::newRow("configured address") << QStringLiteral("192.168.1.12") << true << QString();
    QTest::newRow("name, other case") << QStringLiteral("CAF\u00c9") << true << QString();
    // Found once, though both of its addresses name it.
    QTest::newRow("address of its replies, configured too")
        << QStringLiteral("127.0.0.12") << false << QStringLiteral("127.0.0.12");
}

void TestOlgctl::readByAnyName() {
    QFETCH(QString, device);
    QFETCH(bool, wholeScan);
    QFETCH(QString, configured);
    if (!configured.isEmpty())
        StartFleet(QStringList(Fleet).replaceInStrings(QStringLiteral("ip=192.168.1.12"),
                                                       QStringLiteral("ip=") + configured));

    QElapsedTimer clock;
    clock.start();
    const ProgramResult result =
        Run({QStringLiteral("read"), device, QStringLiteral("--format"), QStringLiteral("csv")});
    const qint64 ms = clock.elapsed();
    QCOMPARE(result.ExitCode, 0);
    // The whole scan lasts 2.5 s; the read of an answering device a small part of that.
    QVERIFY2(wholeScan ? ms >= 2500 : ms < 2000, qPrintable(QStringLiteral("took %1 ms").arg(ms)));
    QStringList lines = result.Out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QCOMPARE(lines.takeFirst(), QStringLiteral("Id,Name,Kind,Access,Value"));

    // Every parameter of the model, with the value the device holds: passwords masked, the six bytes as a
    // MAC.
    const QJsonObject stored = Stored(QStringLiteral("00-0A-95-9D-68-18"));
    QStringList layout;
    for (const QString& line : lines) {
        const QStringList cells = line.split(QLatin1Char(','));
        QCOMPARE(cells.size(), 5);
        layout.append(cells.mid(0, 4).join(QLatin1Char(' ')));
        const QJsonValue value = stored.value(cells[0]);
        QString expected = value.isString() ? value.toString() : QString::number(value.toInteger());
        if (cells[1].endsWith(QLatin1String("password")) && !expected.isEmpty())
            expected = QStringLiteral("********");
        if (cells[2] == QLatin1String("six"))
            expected =
                QString::fromStdString(olg::FormatMac(".", static_cast<std::uint64_t>(value.toInteger())));
        QCOMPARE(cells[4], expected);
    }
    QCOMPARE(layout.join(QLatin1Char(',')), QString::fromLatin1(Olg8wLayout));
}

void TestOlgctl::writeThenRead_data() {
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QStringList>("write");
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("id");
    QTest::addColumn<QJsonValue>("stored");
    QTest::addColumn<QString>("shown");

    const QString lobby = QStringLiteral("00-0A-95-9D-68-16");
    const QString group = QStringLiteral("00-0A-95-9D-68-17");
    const QString cafe = QStringLiteral("00-0A-95-9D-68-18");
    // The euro sign is byte 0x80 in the devices' code page.
    QTest::newRow("general text, code page 1252")
        << lobby << QStringList{QStringLiteral("Lobby rack"), QStringLiteral("7=Caisse \u20ac5")}
        << QStringLiteral("general") << QStringLiteral("7") << QJsonValue(QStringLiteral("Caisse \u00805"))
        << QStringLiteral("Caisse \u20ac5");
    QTest::newRow("general address") << group
                                     << QStringList{QStringLiteral("Print shop"),
                                                    QStringLiteral("3=10.0.0.254")}
                                     << QStringLiteral("general") << QStringLiteral("3")
                                     << QJsonValue(QStringLiteral("10.0.0.254"))
                                     << QStringLiteral("10.0.0.254");
    QTest::newRow("number outside the general settings")
        << group << QStringList{QStringLiteral("00:0a:95:9d:68:17"), QStringLiteral("36=30")}
        << QStringLiteral("full") << QStringLiteral("36") << QJsonValue(30) << QStringLiteral("30");
    QTest::newRow("text in the last datagram of the group")
        << group << QStringList{QStringLiteral("127.0.0.11"), QStringLiteral("441=Socket 5.1")}
        << QStringLiteral("full") << QStringLiteral("441") << QJsonValue(QStringLiteral("Socket 5.1"))
        << QStringLiteral("Socket 5.1");
    QTest::newRow("general name") << lobby
                                  << QStringList{QStringLiteral("Lobby rack"),
                                                 QStringLiteral("GATEWAY=10.0.0.1")}
                                  << QStringLiteral("general") << QStringLiteral("3")
                                  << QJsonValue(QStringLiteral("10.0.0.1")) << QStringLiteral("10.0.0.1");
    QTest::newRow("name of a group member's socket")
        << group << QStringList{QStringLiteral("Print shop"), QStringLiteral("device5-socket8=Last")}
        << QStringLiteral("full") << QStringLiteral("469") << QJsonValue(QStringLiteral("Last"))
        << QStringLiteral("Last");
    QTest::newRow("general id with --all")
        << cafe
        << QStringList{QStringLiteral("Caf\u00e9"), QStringLiteral("4=0x1F90"), QStringLiteral("--all")}
        << QStringLiteral("full") << QStringLiteral("4") << QJsonValue(8080) << QStringLiteral("8080");
}

void TestOlgctl::writeThenRead() {
    QFETCH(QString, mac);
    QFETCH(QStringList, write);
    QFETCH(QString, mode);
    QFETCH(QString, id);
    QFETCH(QJsonValue, stored);
    QFETCH(QString, shown);

    const QJsonObject before = Stored(mac);
    const ProgramResult written = Run(QStringList{QStringLiteral("write")} + write);
    QCOMPARE(written.Err, QString());
    QCOMPARE(written.ExitCode, 0);
    QVERIFY2(written.Out.endsWith(QStringLiteral(": wrote 1 parameter(s) with the %1 write\n").arg(mode)),
             qPrintable(written.Out));

    // The device holds the new value and nothing else changed: a full write sends back what it read.
    QTRY_COMPARE(Stored(mac).value(id), stored);
    QJsonObject expected = before;
    expected.insert(id, stored);
    QCOMPARE(Stored(mac), expected);

    const ProgramResult read =
        Run({QStringLiteral("read"), mac, QStringLiteral("--format"), QStringLiteral("json")});
    QCOMPARE(read.ExitCode, 0);
    bool found = false;
    for (const QJsonValue& row : QJsonDocument::fromJson(read.Out.toUtf8()).array()) {
        if (row[QStringLiteral("id")].toInt() == id.toInt()) {
            QCOMPARE(row[QStringLiteral("value")].toString(), shown);
            found = true;
        }
    }
    QVERIFY(found);
}

void TestOlgctl::refused_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    const QString lobby = QStringLiteral("Lobby rack");
    const auto write = [&](const QString& assignment) {
        return QStringList{QStringLiteral("write"), lobby, assignment};
    };
    // Refused before anything is sent.
    QTest::newRow("no verb") << QStringList{} << QStringLiteral("Usage: olgctl");
    QTest::newRow("unknown verb") << QStringList{QStringLiteral("frobnicate")}
                                  << QStringLiteral("unknown verb");
    QTest::newRow("unknown option") << QStringList{QStringLiteral("scan"), QStringLiteral("--fast")}
                                    << QStringLiteral("Unknown option 'fast'");
    QTest::newRow("unknown format") << QStringList{QStringLiteral("scan"), QStringLiteral("--format"),
                                                   QStringLiteral("xml")}
                                    << QStringLiteral("--format takes table, csv or json");
    QTest::newRow("no jobs") << QStringList{QStringLiteral("save"), QStringLiteral("all"),
                                            QStringLiteral("."), QStringLiteral("--jobs"),
                                            QStringLiteral("0")}
                             << QStringLiteral("--jobs takes a number from 1 to 64, not \"0\"");
    QTest::newRow("read without device")
        << QStringList{QStringLiteral("read")} << QStringLiteral("read takes at least one DEVICE");
    QTest::newRow("write without assignment")
        << QStringList{QStringLiteral("write"), lobby} << QStringLiteral("at least one ID=VALUE");
    QTest::newRow("file that cannot be read, before the scan")
        << QStringList{QStringLiteral("load"), lobby, QStringLiteral("/nonexistent/site.cfg")}
        << QStringLiteral("olgctl: cannot read /nonexistent/site.cfg: ");
    QTest::newRow("unknown name") << write(QStringLiteral("colour=x")) << QStringLiteral("is not ID=VALUE");
    QTest::newRow("id out of range") << write(QStringLiteral("1000=x")) << QStringLiteral("is not ID=VALUE");
    // An empty word, an unset shell variable say, names nothing: refused before the scan.
    QTest::newRow("empty file") << QStringList{QStringLiteral("save"), lobby, QString()}
                                << QStringLiteral("an argument is empty");
    QTest::newRow("empty device") << QStringList{QStringLiteral("read"), QString()}
                                  << QStringLiteral("an argument is empty");
    QTest::newRow("empty option value")
        << QStringList{QStringLiteral("label"), lobby, QStringLiteral("--png"), QString()}
        << QStringLiteral("--png takes a FILE, not an empty text");
    QTest::newRow("type without a model")
        << QStringList{QStringLiteral("write"), QStringLiteral("type="), QStringLiteral("7=x")}
        << QStringLiteral("type= names no model");
    QTest::newRow("--all with scan") << QStringList{QStringLiteral("scan"), QStringLiteral("--all")}
                                     << QStringLiteral("--all belongs to write");
    QTest::newRow("--log with read") << QStringList{QStringLiteral("read"), lobby, QStringLiteral("--log=x")}
                                     << QStringLiteral("--pdf, --png and --log belong to label");
    QTest::newRow("label as PDF and PNG")
        << QStringList{QStringLiteral("label"), lobby, QStringLiteral("--pdf=a"), QStringLiteral("--png=b")}
        << QStringLiteral("a PDF or a PNG file, not both");
    QTest::newRow("label of nothing")
        << QStringList{QStringLiteral("label"), lobby} << QStringLiteral("label needs --pdf, --png or --log");
    // Refused once the device's type is known, still before anything is written.
    QTest::newRow("read-only id") << write(QStringLiteral("5=olg9"))
                                  << QStringLiteral("parameter 5 is read-only");
    QTest::newRow("id not in the table")
        << write(QStringLiteral("16=x"))
        << QStringLiteral("parameter 16 does not exist on this device (olg1n)");
    QTest::newRow("highest id, not in the table")
        << write(QStringLiteral("999=x"))
        << QStringLiteral("parameter 999 does not exist on this device (olg1n)");
    QTest::newRow("16-bit number too large")
        << write(QStringLiteral("4=65536"))
        << QStringLiteral("parameter 4: \"65536\" is not a number from 0 to 65535");
    QTest::newRow("negative number") << write(QStringLiteral("50=-5"))
                                     << QStringLiteral("is not a number from 0 to 255");
    QTest::newRow("address of three octets")
        << write(QStringLiteral("2=192.168.1"))
        << QStringLiteral("parameter 2: \"192.168.1\" is not an IPv4 address");
    QTest::newRow("address octet too large")
        << write(QStringLiteral("1=255.255.256.0")) << QStringLiteral("parameter 1:");
    QTest::newRow("text of 256 bytes") << write(QStringLiteral("7=") + QString(256, QLatin1Char('a')))
                                       << QStringLiteral("parameter 7: the text is 256 bytes long");
    QTest::newRow("text outside the code page")
        << write(QStringLiteral("40=\u03a9 socket"))
        << QStringLiteral("parameter 40: \"\u03a9 socket\" holds a character");
    QTest::newRow("same id twice") << QStringList{QStringLiteral("write"), lobby, QStringLiteral("7=a"),
                                                  QStringLiteral("7=b")}
                                   << QStringLiteral("parameter 7 is given more than once");
}

void TestOlgctl::refused() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const QByteArray before = StateBytes();
    const ProgramResult result = Run(arguments);
    QCOMPARE(result.ExitCode, 2);
    QVERIFY2(result.Err.contains(message), qPrintable(result.Err));
    QCOMPARE(result.Out, QString());
    QCOMPARE(StateBytes(), before);
}

void TestOlgctl::deviceFailures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message");

    QTest::newRow("unknown MAC") << QStringList{QStringLiteral("read"), QStringLiteral("00-11-22-33-44-55")}
                                 << QStringLiteral("no device \"00-11-22-33-44-55\" answered the scan");
    QTest::newRow("unknown name") << QStringList{QStringLiteral("write"), QStringLiteral("Attic"),
                                                 QStringLiteral("7=x")}
                                  << QStringLiteral("no device \"Attic\" answered the scan");
}

void TestOlgctl::deviceFailures() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);

    const ProgramResult result = Run(arguments);
    QCOMPARE(result.ExitCode, 1);
    QVERIFY2(result.Err.contains(message), qPrintable(result.Err));
}

void TestOlgctl::silentDevice_data() {
    QTest::addColumn<QStringList>("arguments");

    QTest::newRow("read") << QStringList{QStringLiteral("read"), QStringLiteral("Mute")};
    QTest::newRow("general write") << QStringList{QStringLiteral("write"), QStringLiteral("Mute"),
                                                  QStringLiteral("7=x")};
    QTest::newRow("full write") << QStringList{QStringLiteral("write"), QStringLiteral("Mute"),
                                               QStringLiteral("9=x")};
}

void TestOlgctl::silentDevice() {
    QFETCH(QStringList, arguments);

    // A device that answers the scan and then falls silent, as one switched off meanwhile.
    FakePeer peer(QHostAddress(QStringLiteral("127.0.0.2")));
    peer.answers = true;
    peer.discoveryOnly = true;
    // Name "Mute", type code of an olg8w, and every other general parameter, so that a write is possible.
    peer.items = QByteArray::fromHex("0007"
                                     "04"
                                     "4d757465"
                                     "000d"
                                     "04"
                                     "08030100"
                                     "0001"
                                     "04"
                                     "ffffff00"
                                     "0002"
                                     "04"
                                     "c0a8010a"
                                     "0003"
                                     "04"
                                     "c0a80101"
                                     "0004"
                                     "02"
                                     "0050"
                                     "0006"
                                     "01"
                                     "07"
                                     "000e"
                                     "04"
                                     "c0a80101"
                                     "000f"
                                     "04"
                                     "c0a80102");
    const ProgramResult result =
        Run(QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                        QStringLiteral("127.0.0.2:%1").arg(peer.Port())} +
                arguments,
            false);
    QCOMPARE(result.ExitCode, 1);
    QCOMPARE(result.Err, QStringLiteral("olgctl: Mute (00.AA.BB.CC.00.01): device not responding\n"));
    QCOMPARE(result.Out, QString());
    // The ten broadcasts of the scan, then at least one request to the device itself.
    QVERIFY(peer.requests.size() > 10);
    // The distributor code of the program's own variant, low byte first, as the window sends it.
    QCOMPARE(peer.requests.constFirst().mid(18, 2), QByteArray("\x25\x15"));
}

void TestOlgctl::floodOfReplies() {
    // In process, so that the list's bound can be made small.
    QString out;
    QString err;
    QTextStream outStream(&out);
    QTextStream errStream(&err);
    olg::ExchangeSettings settings;
    settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
    settings.BindPort = 0;
    settings.TargetAddress = QHostAddress(QStringLiteral("127.0.0.2"));
    settings.TargetPort = 9; // nobody listens: the only replies are those of the flood
    olg::cli::Session session(outStream, errStream, settings);
    QVERIFY(session.Serveur());
    constexpr int capacity = 50;
    session.Devices().SetCapacity(capacity);
    olg::testing::StreamingPeer flood(session.Serveur()->LocalPort());
    olg::cli::ScanCommand scan;
    scan.Take({}, {{QStringLiteral("format"), QStringLiteral("csv")}});
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(scan.Run(session), 0);
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms < 3500, qPrintable(QStringLiteral("the scan took %1 ms").arg(ms)));
    QVERIFY(flood.Sent() > 10 * capacity);
    QCOMPARE(out.count(QLatin1Char('\n')), capacity + 1);
    // Every device of the flood answers from one address: a conflict, said after the bound.
    QCOMPARE(err.section(QLatin1Char('\n'), 0, 0),
             QStringLiteral("olgctl: warning: ") + olg::IgnoredDevicesWarning(capacity));
    // The first datagram of the flood may be read without its interface when it lands between the check for
    // a pending datagram and the read; that device then stands apart.
    const QRegularExpressionMatch conflict =
        QRegularExpression(QStringLiteral("^olgctl: warning: (\\d+) devices answer from 127.0.0.2 on lo: "))
            .match(err.section(QLatin1Char('\n'), 1));
    QVERIFY2(conflict.hasMatch() && conflict.captured(1).toInt() >= capacity - 1, qPrintable(err));
}

void TestOlgctl::controlBytes_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("check");

    const QString mac = QStringLiteral("00-AA-BB-CC-00-01");
    QTest::newRow("table") << QStringList{QStringLiteral("scan")} << QStringLiteral("table");
    QTest::newRow("csv") << QStringList{QStringLiteral("scan"), QStringLiteral("--format=csv")}
                         << QStringLiteral("csv");
    // The device lacks a general parameter, so the write stops with a message that names it.
    QTest::newRow("message") << QStringList{QStringLiteral("write"), mac, QStringLiteral("7=x")}
                             << QStringLiteral("message");
}

void TestOlgctl::controlBytes() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, check);

    // A name that would recolour the terminal, ring and break its row in three.
    const QByteArray name("Red\x1b[31m\x07\r\nRow");
    const QString shown = QStringLiteral("Red\\x1b[31m\\x07\\x0d\\x0aRow");
    FakePeer peer(QHostAddress(QStringLiteral("127.0.0.2")));
    peer.answers = true;
    // Name, olg8w type code and the general parameters but DNS server 2.
    peer.items = QByteArray::fromHex("0007") + char(name.size()) + name +
                 QByteArray::fromHex("000d0408030100"
                                     "000104ffffff00"
                                     "000204c0a8010a"
                                     "000304c0a80101"
                                     "0004020050"
                                     "00060107"
                                     "000e04c0a80101");
    const ProgramResult result =
        Run(QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                        QStringLiteral("127.0.0.2:%1").arg(peer.Port())} +
                arguments,
            false);
    const auto hasControls = [](const QString& text) {
        return std::any_of(text.begin(), text.end(), [](QChar c) { return c < QChar(0x20) && c != u'\n'; });
    };
    if (check == QLatin1String("message")) {
        QCOMPARE(result.ExitCode, 1);
        QCOMPARE(result.Err, QStringLiteral("olgctl: %1 (00.AA.BB.CC.00.01) did not report parameter(s) 15; "
                                            "nothing was written\n")
                                 .arg(shown));
        return;
    }
    QCOMPARE(result.ExitCode, 0);
    const QString raw = QString::fromLatin1(name);
    if (check == QLatin1String("table")) {
        QVERIFY2(!hasControls(result.Out), qPrintable(result.Out));
        QCOMPARE(result.Out.count(QLatin1Char('\n')), 2);
        QVERIFY2(result.Out.section(QLatin1Char('\n'), 1).startsWith(shown + QStringLiteral("  ")),
                 qPrintable(result.Out));
    } else {
        QCOMPARE(result.Out.section(QLatin1Char('\n'), 1),
                 QLatin1Char('"') + raw +
                     QStringLiteral("\",,127.0.0.2,00.AA.BB.CC.00.01,0x08030100,,lo,\n"));
    }
}

void TestOlgctl::help_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("first");

    QTest::newRow("tool") << QStringList{QStringLiteral("--help")}
                          << QStringLiteral("Usage: olgctl [OPTIONS] VERB");
    QTest::newRow("scan") << QStringList{QStringLiteral("scan"), QStringLiteral("--help")}
                          << QStringLiteral("Usage: olgctl scan [--format table|csv|json]");
    QTest::newRow("read") << QStringList{QStringLiteral("read"), QStringLiteral("-h")}
                          << QStringLiteral("Usage: olgctl read DEVICE");
    QTest::newRow("help write") << QStringList{QStringLiteral("help"), QStringLiteral("write")}
                                << QStringLiteral("Usage: olgctl write DEVICE ID=VALUE... [--all]");
    QTest::newRow("label") << QStringList{QStringLiteral("label"), QStringLiteral("--help")}
                           << QStringLiteral(
                                  "Usage: olgctl label DEVICE [--pdf FILE | --png FILE] [--log FILE]");
    QTest::newRow("version") << QStringList{QStringLiteral("--version")} << QStringLiteral("olgctl 1.8.0.4");
}

void TestOlgctl::help() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, first);

    const ProgramResult result = Run(arguments);
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.startsWith(first), qPrintable(result.Out));
}

void TestOlgctl::label_data() {
    QTest::addColumn<QString>("medium");
    QTest::addColumn<int>("runs");
    QTest::newRow("PNG") << "png" << 1;
    QTest::newRow("PDF") << "pdf" << 1;
    QTest::newRow("labelled again, logged once") << "png" << 2;
}

void TestOlgctl::label() {
    QFETCH(QString, medium);
    QFETCH(int, runs);
    const QString mac = QStringLiteral("00-0A-95-9D-68-16");
    const QString log = dir_->filePath(QStringLiteral("mac.txt"));
    const QString image = dir_->filePath(QStringLiteral("label.png"));
    const QString output =
        medium == QLatin1String("pdf") ? dir_->filePath(QStringLiteral("label.pdf")) : image;
    QByteArray logged;
    for (int run = 1; run <= runs; ++run) {
        QFile::remove(output);
        const ProgramResult result = Run({QStringLiteral("label"), mac, QStringLiteral("--") + medium, output,
                                          QStringLiteral("--log"), log});
        // Labelled every time; logged the first time only.
        QVERIFY(QFile::exists(output));
        if (run == 1) {
            QCOMPARE(result.ExitCode, 0);
            logged = ReadAll(log);
        } else {
            QCOMPARE(result.ExitCode, 1);
            QVERIFY2(result.Err.contains(QStringLiteral("MAC Address already in use!")),
                     qPrintable(result.Err));
            QCOMPARE(ReadAll(log), logged);
        }
    }
    if (medium == QLatin1String("pdf"))
        QCOMPARE(RunProgram(QStringLiteral("/usr/bin/pdftoppm"),
                            {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                             QStringLiteral("-singlefile"), output, image.chopped(4)})
                     .ExitCode,
                 0);
    QCOMPARE(
        RunProgram(QStringLiteral("/usr/bin/zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), image})
            .Out.trimmed(),
        mac);

    const QList<QByteArray> lines = logged.split('\n');
    QCOMPARE(lines.size(), 4); // three lines, each ending in CR LF
    QVERIFY(lines.at(0).startsWith("Adresse MAC       | Date"));
    const QByteArray entry = lines.at(2);
    QCOMPARE(entry.size(), 88);
    QCOMPARE(entry.left(20), "00-0A-95-9D-68-16 | ");
    QCOMPARE(entry.mid(40), "| olg1n                            | v1.4.0.0  \r");
}

void TestOlgctl::severalDevices_data() {
    QTest::addColumn<QString>("faultsOfB");
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QStringList>("written");
    QTest::addColumn<QString>("summary");

    const QString a = QStringLiteral("00-0A-95-9D-70-01");
    const QString b = QStringLiteral("00-0A-95-9D-70-02");
    const QString c = QStringLiteral("00-0A-95-9D-70-03");
    // B answers late, so that its reply to the scan's last broadcast comes during its write: it must neither
    // count as the write's answer nor end the wait for it.
    const QString silent = QStringLiteral(",nowrites,delay=400");
    const QStringList everyOlg8n{QStringLiteral("type=olg8n"), QStringLiteral("7=Renamed"),
                                 QStringLiteral("--yes")};
    QTest::newRow("every olg8n, one silent") << silent << everyOlg8n << 1 << QStringList{a, c}
                                             << QStringLiteral("2 of 3 device(s) written, 1 failed\n");
    // However many devices are worked on at once, each write counts only on its own device's answer.
    QTest::newRow("every olg8n, one silent, one at a time")
        << silent << everyOlg8n + QStringList{QStringLiteral("--jobs"), QStringLiteral("1")} << 1
        << QStringList{a, c} << QStringLiteral("2 of 3 device(s) written, 1 failed\n");
    QTest::newRow("every olg8n, one silent, all at once")
        << silent << everyOlg8n + QStringList{QStringLiteral("--jobs"), QStringLiteral("8")} << 1
        << QStringList{a, c} << QStringLiteral("2 of 3 device(s) written, 1 failed\n");
    QTest::newRow("every olg8n, one slow")
        << QStringLiteral(",delay=400") << everyOlg8n << 0 << QStringList{a, b, c}
        << QStringLiteral("3 of 3 device(s) written, 0 failed\n");
    QTest::newRow("two named devices")
        << silent
        << QStringList{QStringLiteral("Rack C"), a, QStringLiteral("7=Renamed"), QStringLiteral("--yes")} << 0
        << QStringList{a, c} << QStringLiteral("2 of 2 device(s) written, 0 failed\n");
    // Devices named by their MACs only: the scan ends once both have answered.
    QTest::newRow("two devices named by MAC")
        << silent << QStringList{c, a, QStringLiteral("7=Renamed"), QStringLiteral("--yes")} << 0
        << QStringList{a, c} << QStringLiteral("2 of 2 device(s) written, 0 failed\n");
    QTest::newRow("unconfirmed") << silent << QStringList{QStringLiteral("all"), QStringLiteral("7=Renamed")}
                                 << 1 << QStringList{} << QString();
    QTest::newRow("two named devices, unconfirmed")
        << QString()
        << QStringList{QStringLiteral("Rack A"), QStringLiteral("Rack C"), QStringLiteral("7=Renamed")} << 1
        << QStringList{} << QString();
}

void TestOlgctl::severalDevices() {
    QFETCH(QString, faultsOfB);
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QStringList, written);
    QFETCH(QString, summary);

    // A fleet of its own: three olg8n, the second slow or also silent to writes, and an olg1n.
    lan_.reset();
    lan_ = std::make_unique<SimulatedLan>();
    QString error;
    const QString olg8n = QStringLiteral("type=0x08010100,ip=10.1.0.%1,mac=00-0A-95-9D-70-0%1,name=Rack %2");
    QVERIFY2(lan_->StartSimulator(
                 {QStringLiteral("--device"), olg8n.arg(1).arg(QLatin1Char('A')), QStringLiteral("--device"),
                  olg8n.arg(2).arg(QLatin1Char('B')) + faultsOfB, QStringLiteral("--device"),
                  olg8n.arg(3).arg(QLatin1Char('C')), QStringLiteral("--device"),
                  QStringLiteral("type=0x01010100,ip=10.1.0.4,mac=00-0A-95-9D-70-04,name=Rack D"),
                  QStringLiteral("--state"), dir_->filePath(QStringLiteral("state.json"))},
                 &error),
             qPrintable(error));
    target_ = lan_->Port();
    QTRY_VERIFY(!Stored(QStringLiteral("00-0A-95-9D-70-04")).isEmpty());

    const ProgramResult result = Run(QStringList{QStringLiteral("write")} + arguments);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2(result.Out.endsWith(summary), qPrintable(result.Out));
    // The question lists the devices it is about.
    if (exitCode != 0 && written.isEmpty())
        QVERIFY2(result.Err.contains(QStringLiteral("  Rack A (00.0A.95.9D.70.01)\n")),
                 qPrintable(result.Err));
    if (exitCode != 0 && !written.isEmpty())
        QVERIFY2(result.Out.contains(
                     QStringLiteral("Rack B (00.0A.95.9D.70.02): failed: device not responding\n")),
                 qPrintable(result.Out));
    for (const QString& mac : {QStringLiteral("00-0A-95-9D-70-01"), QStringLiteral("00-0A-95-9D-70-02"),
                               QStringLiteral("00-0A-95-9D-70-03"), QStringLiteral("00-0A-95-9D-70-04")}) {
        const bool renamed = Stored(mac).value(QStringLiteral("7")).toString() == QLatin1String("Renamed");
        QVERIFY2(renamed == written.contains(mac), qPrintable(mac));
    }
}

void TestOlgctl::saveSeveralIntoAFolder() {
    const QString folder = dir_->filePath(QStringLiteral("saved"));
    QVERIFY(QDir().mkpath(folder));
    const ProgramResult result = Run({QStringLiteral("save"), QStringLiteral("all"), folder});
    QCOMPARE(result.ExitCode, 0);
    QVERIFY2(result.Out.endsWith(QStringLiteral("3 of 3 device(s) saved, 0 failed\n")),
             qPrintable(result.Out));
    // One file per device, each with its own model's section.
    for (const auto& [mac, model] :
         {std::pair{"00-0A-95-9D-68-16", "[olg1n]"}, std::pair{"00-0A-95-9D-68-17", "[olg8a]"},
          std::pair{"00-0A-95-9D-68-18", "[olg8w]"}}) {
        const QByteArray file =
            ReadAll(QDir(folder).filePath(QString::fromLatin1(mac) + QStringLiteral(".cfg")));
        QVERIFY2(file.startsWith(model), mac);
    }
}

void TestOlgctl::apply_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("plan");
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // part of the standard output, else of the error stream
    QTest::addColumn<QString>("stored"); // "MAC ID=VALUE" the state shows afterwards; empty: nothing written

    // One after the other where the rows expect the devices' lines in the list's order.
    const QStringList yes{QStringLiteral("--yes"), QStringLiteral("--jobs"), QStringLiteral("1")};
    const QByteArray lobby = "00-0A-95-9D-68-16";
    const QByteArray both = "mac,name,ip,device1-socket1\n" + lobby +
                            ",\"Rack \"\"A\"\", 1\",127.0.0.20,\n00:0a:95:9d:68:17,,, Sock 1\n";
    // Run twice: the second run must find everything as planned and write nothing.
    QTest::newRow("csv: general and full write, quoting")
        << "plan.csv" << both << yes << 0
        << "Lobby rack (00.0A.95.9D.68.16): 7: \"Lobby rack\" -> \"Rack \"A\", 1\"\n"
           "Lobby rack (00.0A.95.9D.68.16): wrote 2 parameter(s) with the general write\n"
           "Print shop (00.0A.95.9D.68.17): 41: \"Unit 1 outlet 1\" -> \" Sock 1\"\n"
           "Print shop (00.0A.95.9D.68.17): wrote 1 parameter(s) with the full write\n"
        << "00-0A-95-9D-68-16 2=127.0.0.20";
    // All at once, in whatever order they end, each device's lines stay together and the result is the same.
    QTest::newRow("csv, eight at once")
        << "plan.csv" << both
        << QStringList{QStringLiteral("--yes"), QStringLiteral("--jobs"), QStringLiteral("8")} << 0
        << "Print shop (00.0A.95.9D.68.17): 41: \"Unit 1 outlet 1\" -> \" Sock 1\"\n"
           "Print shop (00.0A.95.9D.68.17): wrote 1 parameter(s) with the full write\n"
        << "00-0A-95-9D-68-16 2=127.0.0.20";
    QTest::newRow("json: numbers, the device's own address")
        << "plan" << QByteArray("[{\"mac\": \"00-0A-95-9D-68-16\", \"port\": 8081, \"ip\": \"127.0.0.10\"}]")
        << QStringList{} << 0 << "4: 80 -> 8081\n"
        << "00-0A-95-9D-68-16 4=8081";
    QTest::newRow("dry run") << "plan.csv" << both
                             << QStringList{QStringLiteral("--dry-run"), QStringLiteral("--jobs"),
                                            QStringLiteral("1")}
                             << 0
                             << "would write 2 parameter(s) with the general write\n"
                                "Print shop (00.0A.95.9D.68.17): 41: \"Unit 1 outlet 1\" -> \" Sock 1\"\n"
                                "Print shop (00.0A.95.9D.68.17): would write 1 parameter(s) with the full "
                                "write\n2 to change, 0 unchanged, 0 failed\n"
                             << "";
    QTest::newRow("not asked") << "plan.csv" << both << QStringList{} << 1 << "nothing was done"
                               << "";
    QTest::newRow("one silent to writes")
        << "plan.csv"
        << "mac,7\n" + lobby + ",A\n00-0A-95-9D-68-19,B\n"
        << yes << 1
        << "Mute (00.0A.95.9D.68.19): failed: device not responding\n1 changed, 0 unchanged, 1 failed\n"
        << "00-0A-95-9D-68-16 7=A";
    QTest::newRow("two accounts of one name")
        << "plan.csv"
        << "mac,user1-login\n" + lobby + ",admin\n"
        << yes << 1
        << "Lobby rack (00.0A.95.9D.68.16): failed: admin : Logins must be different!; nothing was written"
        << "";
    const auto refused = [&](const char* name, const QByteArray& plan, int exitCode, const char* error) {
        QTest::newRow(name) << "plan.csv" << plan << yes << exitCode << QString::fromUtf8(error) << "";
    };
    refused("unknown column", "mac,colour\n" + lobby + ",red\n", 2,
            "olgctl: plan.csv:1: column \"colour\": no parameter has this name or id");
    refused("no mac column", "name\nx\n", 2, "olgctl: plan.csv:1: there is no \"mac\" column");
    refused("bad quoting", "mac,name\n" + lobby + ",a\"b\n", 2, "olgctl: plan.csv:2: a quote in the middle");
    refused("fields missing", "mac,name,ip\n" + lobby + ",a\n", 2, "olgctl: plan.csv:2: 2 field(s) where");
    refused("not a MAC", "mac,name\n00-0A-95,a\n", 2,
            "olgctl: plan.csv:2: column \"mac\": \"00-0A-95\" is not");
    refused("a problem on every line", "mac,name\n" + QByteArray("00-0A-95,a\n").repeated(60), 2,
            "olgctl: plan.csv: 10 more problem(s)\nolgctl: plan.csv: 60 problem(s); nothing was written");
    refused("MAC twice", "mac,name\n" + lobby + ",a\n00.0a.95.9d.68.16,b\n", 2,
            "olgctl: plan.csv:3: column \"mac\": 00.0a.95.9d.68.16 is on plan.csv:2 already");
    refused("line break in a text", "mac,name\n" + lobby + ",\"a\nb\"\n", 2,
            "olgctl: plan.csv:2: column \"name\": a device text cannot hold a line break");
    refused("text of 256 bytes", "mac,name\n" + lobby + "," + QByteArray(256, 'a') + "\n", 2,
            "olgctl: plan.csv:2: column \"name\": the text is 256 bytes long");
    refused("not Windows-1252", "mac,name\n" + lobby + ",\xce\xa9\n", 2,
            "olgctl: plan.csv:2: column \"name\": \"");
    refused("no address", "mac,gateway\n" + lobby + ",10.0.0\n", 2,
            "olgctl: plan.csv:2: column \"gateway\": \"10.0.0\"");
    refused("number out of range", "mac,superv-port\n" + lobby + ",65536\n", 2,
            "olgctl: plan.csv:2: column \"superv-port\": \"65536\" is not a number from 0 to 65535");
    refused("parameter the model lacks", "mac,socket3\n" + lobby + ",x\n", 2,
            "olgctl: plan.csv:2: column \"socket3\": an olg1n has no such parameter");
    refused("read-only", "mac,firmware\n" + lobby + ",9.9\n", 2,
            "olgctl: plan.csv:2: column \"firmware\": parameter 12 is read-only");
    refused("one address twice", "mac,ip\n" + lobby + ",127.0.0.30\n00-0A-95-9D-68-18,127.0.0.30\n", 2,
            "olgctl: plan.csv:3: column \"ip\": 127.0.0.30 is given on plan.csv:2 already");
    refused("address of another device", "mac,ip\n" + lobby + ",127.0.0.11\n", 1,
            "olgctl: plan.csv:2: column \"ip\": 127.0.0.11 is the address Print shop (00.0A.95.9D.68.17) "
            "answers");
    refused("device not there", "mac,name\n" + lobby + ",a\n00-0A-95-9D-68-99,b\n", 1,
            "olgctl: plan.csv:3: 00-0A-95-9D-68-99 did not answer the scan\nolgctl: plan.csv: 1 problem(s)");
    QTest::newRow("json: a value neither text nor number")
        << "plan.json" << QByteArray("[{\"mac\": \"00-0A-95-9D-68-16\", \"port\": true}]") << yes << 2
        << "olgctl: plan.json: object 1: column \"port\": a value is a text or a whole number"
        << "";
}

void TestOlgctl::apply() {
    QFETCH(QString, file);
    QFETCH(QByteArray, plan);
    QFETCH(QStringList, options);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, stored);

    if (QString::fromLatin1(QTest::currentDataTag()).contains(QLatin1String("silent")))
        StartFleet(Fleet +
                   QStringList{QStringLiteral("--device"),
                               QStringLiteral("type=0x01010100,mac=00-0A-95-9D-68-19,name=Mute,nowrites")});
    const QString path = dir_->filePath(file);
    QFile planFile(path);
    QVERIFY(planFile.open(QIODevice::WriteOnly) && planFile.write(plan) == plan.size());
    planFile.close();
    const QByteArray before = StateBytes();
    const ProgramResult result = Run(QStringList{QStringLiteral("apply"), path} + options);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2((result.Out.isEmpty() ? result.Err : result.Out)
                 .contains(output.replace(QLatin1String("plan."),
                                          QDir(dir_->path()).filePath(QStringLiteral("plan.")))),
             qPrintable(result.Out + result.Err));
    if (stored.isEmpty()) {
        QCOMPARE(StateBytes(), before);
        return;
    }
    const QStringList macAndValue = stored.split(QLatin1Char(' '));
    const QStringList idAndValue = macAndValue.at(1).split(QLatin1Char('='));
    QCOMPARE(Stored(macAndValue.at(0)).value(idAndValue.at(0)).toVariant().toString(), idAndValue.at(1));
    if (exitCode != 0)
        return;
    const QByteArray applied = StateBytes();
    const ProgramResult again = Run(QStringList{QStringLiteral("apply"), path} + options);
    QCOMPARE(again.ExitCode, 0);
    QVERIFY2(again.Out.endsWith(QStringLiteral("0 changed, %1 unchanged, 0 failed\n")
                                    .arg(again.Out.count(QStringLiteral(": unchanged\n")))) &&
                 !again.Out.contains(QStringLiteral("wrote")),
             qPrintable(again.Out));
    QCOMPARE(StateBytes(), applied);
}

void TestOlgctl::diff_data() {
    QTest::addColumn<QStringList>("arguments"); // saved/NAME.cfg: saved from the device of that MAC
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output"); // part of the standard output, else of the error stream

    const QString lobby = QStringLiteral("00-0A-95-9D-68-16");
    const QString lobbyFile = QStringLiteral("saved/00-0A-95-9D-68-16.cfg");
    const QString edited =
        QStringLiteral("saved/edited.cfg"); // the lobby's, renamed and its password changed
    QTest::newRow("device and its own file")
        << QStringList{lobby, lobbyFile} << 0 << "Id  Name  Caption  00-0A-95-9D-68-16  saved/00-0A";
    QTest::newRow("device and another file") << QStringList{edited, lobby} << 1
                                             << "7   name                     saved/edited.cfg  Lobby rack\n"
                                                "9   admin-password           ********          ********\n";
    QTest::newRow("two files, json")
        << QStringList{lobbyFile, edited, QStringLiteral("--format=json"), QStringLiteral("--show-passwords")}
        << 1
        << "\"a\": \"Lobby rack\",\n        \"b\": \"saved/edited.cfg\",\n        \"caption\": \"\",\n"
           "        \"id\": 7,\n        \"model\": \"olg1n\",";
    QTest::newRow("two files of no common model")
        << QStringList{lobbyFile, QStringLiteral("saved/00-0A-95-9D-68-18.cfg")} << 2
        << "hold no configuration";
    QTest::newRow("a file that is not there")
        << QStringList{lobby, QStringLiteral("saved/none.cfg")} << 2 << "olgctl: cannot read";
    QTest::newRow("one word") << QStringList{lobby} << 2 << "diff takes two words";
    QTest::newRow("device not there")
        << QStringList{lobby, QStringLiteral("00-0A-95-9D-68-99")} << 1 << "olgctl: ";
}

void TestOlgctl::diff() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, output);

    // The words name files as a user types them, relative to the folder olgctl runs in.
    const auto back = qScopeGuard([cwd = QDir::currentPath()] { QDir::setCurrent(cwd); });
    QDir::setCurrent(dir_->path());
    QVERIFY(QDir().mkpath(QStringLiteral("saved")));
    QCOMPARE(Run({QStringLiteral("save"), QStringLiteral("all"), QStringLiteral("saved")}).ExitCode, 0);
    QByteArray bytes = ReadAll(QStringLiteral("saved/00-0A-95-9D-68-16.cfg"));
    QFile edited(QStringLiteral("saved/edited.cfg"));
    QVERIFY(edited.open(QIODevice::WriteOnly));
    edited.write(bytes.replace("7=Lobby rack", "7=saved/edited.cfg").replace("\r\n9=", "\r\n9=x"));
    edited.close();
    const ProgramResult result = Run(QStringList{QStringLiteral("diff")} + arguments);
    QCOMPARE(result.ExitCode, exitCode);
    QVERIFY2((result.Out.isEmpty() ? result.Err : result.Out).contains(output),
             qPrintable(result.Out + result.Err));
}

void TestOlgctl::upgrade_data() {
    QTest::addColumn<QString>("devices"); // separated by ","
    QTest::addColumn<bool>("yes");
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("exitCode");
    // Part of the standard output, or of the error stream when nothing went there.
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("stored"); // what the device's state shows afterwards
    QTest::addColumn<bool>("quiet");     // then nothing goes to the error stream

    QTest::newRow("TFTP image") << "Lobby rack" << true << "fw.bin" << 0
                                << "Lobby rack (00.0A.95.9D.68.16): image sent and read back the same"
                                << "tftpImage" << false;
    QTest::newRow("FTP image") << "00-0A-95-9D-68-18" << true << "fw.rom.bin" << 0
                               << "Caf\u00e9 (00.0A.95.9D.68.18): image sent"
                               << "rom.bin" << false;
    QTest::newRow("FTP image without a known name")
        << "00-0A-95-9D-68-18" << true << "firmware.bin" << 1
        << "olgctl: Caf\u00e9 (00.0A.95.9D.68.18) takes the image by FTP\n"
        << "" << false;
    QTest::newRow("file set") << "00-0A-95-9D-68-18" << true << "list.cfg" << 0
                              << "Caf\u00e9 (00.0A.95.9D.68.18): files sent"
                              << "index.htm" << false;
    QTest::newRow("neither image nor list") << "Lobby rack" << true << "notes.txt" << 2 << "olgctl: "
                                            << "" << false;
    // One device fails, the other is upgraded all the same, and the exit code tells of the failure.
    QTest::newRow("two devices, one failing") << "Lobby rack,00-0A-95-9D-68-18" << true << "firmware.bin" << 1
                                              << "Caf\u00e9 (00.0A.95.9D.68.18): failed: "
                                              << "tftpImage" << false;
    QTest::newRow("several, unconfirmed")
        << "all" << false << "fw.bin" << 1
        << "olgctl: Upgrade the firmware of 3 devices? [y/N] olgctl: upgrade cancelled"
        << "" << false;
    QTest::newRow("quiet") << "Lobby rack" << true << "fw.bin" << 0
                           << "Lobby rack (00.0A.95.9D.68.16): image sent and read back the same"
                           << "tftpImage" << true;
}

void TestOlgctl::upgrade() {
    QFETCH(QString, devices);
    QFETCH(bool, yes);
    QFETCH(QString, file);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    QFETCH(QString, stored);
    QFETCH(bool, quiet);

    for (const QString& name : {file, QStringLiteral("index.htm")}) {
        QFile out(dir_->filePath(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(name.endsWith(QLatin1String(".cfg")) ? QByteArray("index.htm\n") : QByteArray(5000, 'x'));
    }
    const olg::ExchangeSettings settings = lan_->Settings();
    QStringList arguments = QStringList{QStringLiteral("upgrade")} + devices.split(QLatin1Char(','));
    arguments << dir_->filePath(file) << QStringLiteral("--tftp-port") << QString::number(settings.TftpPort)
              << QStringLiteral("--ftp-port") << QString::number(settings.FtpPort);
    if (yes)
        arguments << QStringLiteral("--yes");
    if (quiet)
        arguments << QStringLiteral("--quiet");
    const ProgramResult result = Run(arguments);
    QCOMPARE(result.ExitCode, exitCode);
    if (quiet)
        QCOMPARE(result.Err, QString());
    QVERIFY2((result.Out.isEmpty() ? result.Err : result.Out).contains(output),
             qPrintable(result.Out + result.Err));
    // The warning, when asked, once for all the devices.
    QCOMPARE(result.Err.count(olg::UpgradeFlow::WarningText()), yes ? 0 : 1);
    const QJsonArray states =
        QJsonDocument::fromJson(StateBytes()).object().value(QStringLiteral("devices")).toArray();
    QStringList received;
    for (const QJsonValue entry : states) {
        if (entry[QStringLiteral("tftpImage")].isObject())
            received.append(QStringLiteral("tftpImage"));
        for (const QJsonValue ftpFile : entry[QStringLiteral("ftpFiles")].toArray())
            received.append(ftpFile[QStringLiteral("name")].toString());
    }
    QCOMPARE(received, stored.isEmpty() ? QStringList() : QStringList{stored});
}

void TestOlgctl::progressLine_data() {
    QTest::addColumn<int>("style");
    QTest::addColumn<QString>("expected");

    // A line per tenth reached, as logs have always had them.
    QTest::newRow("plain") << int(olg::cli::ProgressLine::Style::Plain)
                           << "olgctl:   0% of 1000 bytes\n"
                              "olgctl:   100% of 1000 bytes\nolgctl: done\n";
    QTest::newRow("quiet") << int(olg::cli::ProgressLine::Style::Quiet) << "";
    // Drawn in place, always at the end of a transfer, cut to the terminal's width (here before the rate,
    // which depends on the clock), and taken away before the next message.
    QTest::newRow("terminal") << int(olg::cli::ProgressLine::Style::Redrawn)
                              << "\r\x1b[Kolgctl: [1/2] 0% Rack A"
                                 "\r\x1b[Kolgctl: [1/2] 5% 50 bytes of 1000 bytes"
                                 "\r\x1b[Kolgctl: [1/2] 100% 1000 bytes of 1000 b"
                                 "\r\x1b[Kolgctl: done\n";
}

void TestOlgctl::progressLine() {
    QFETCH(int, style);
    QFETCH(QString, expected);
    QString written;
    {
        QTextStream err(&written);
        olg::cli::ProgressLine progress(err, static_cast<olg::cli::ProgressLine::Style>(style), 40);
        progress.Step(1, 2, QStringLiteral("Rack A"));
        progress.BeginTransfer(QStringLiteral("Rack A"), 1000);
        for (qint64 done : {50, 1000})
            progress.Transfer(done);
        progress.EndTransfer();
        progress.Note(QStringLiteral("done"));
    }
    QCOMPARE(written, expected);
}

void TestOlgctl::transferText_data() {
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("size");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("known size") << qint64(1536000) << qint64(3072000) << qint64(2000)
                                << "50% 1.5 MiB of 2.9 MiB, 750.0 KiB/s, Rack A";
    QTest::newRow("read back, size unknown")
        << qint64(2097152) << qint64(0) << qint64(1000) << "2.0 MiB read back, 2.0 MiB/s, Rack A";
    QTest::newRow("no time yet: no rate")
        << qint64(0) << qint64(100) << qint64(0) << "0% 0 bytes of 100 bytes, Rack A";
}

void TestOlgctl::transferText() {
    QFETCH(qint64, done);
    QFETCH(qint64, size);
    QFETCH(qint64, elapsedMs);
    QFETCH(QString, expected);
    QCOMPARE(olg::cli::ProgressLine::TransferText(done, size, elapsedMs, QStringLiteral("Rack A")), expected);
}

QTEST_GUILESS_MAIN(TestOlgctl)
#include "test_olgctl.moc"
