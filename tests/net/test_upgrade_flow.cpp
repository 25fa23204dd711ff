// The firmware upgrade without a window, against the simulator on loopback: the three transfer modes, the
// faults of the devices' services, and the requests that get no answer.

#include "DeviceRegistry.h"
#include "RecordingNeighbourCache.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TServeur.h"
#include "TestSupport.h"
#include "UpgradeFlow.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

using namespace olg;
using olg::testing::RecordingNeighbourCache;
using olg::testing::RecordingPrompts;
using olg::testing::Texts;

namespace {

const QString Device = QStringLiteral("127.0.0.10");

QJsonObject DeviceState(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(file.readAll())
        .object()
        .value(QStringLiteral("devices"))
        .toArray()
        .at(0)
        .toObject();
}

// The upload lists the rows choose, by name.
QByteArray Lists(const QString& name) {
    if (name == QLatin1String("list.cfg"))
        return "index.htm\r\nmissing.htm\r\n\r\n";
    if (name == QLatin1String("accents.cfg"))
        return "caf\xE9.htm\r\n";
    if (name == QLatin1String("outside.cfg"))
        return "index.htm\r\n../index.htm\r\n";
    return {};
}

QString Sha256(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex());
}

} // namespace

class TestUpgradeFlow : public QObject {
    Q_OBJECT

private slots:
    void upgrade_data();
    void upgrade();
};

void TestUpgradeFlow::upgrade_data() {
    QTest::addColumn<QString>("device");     // olgsim device keys after type and mac
    QTest::addColumn<QString>("file");       // the chosen file; the lists are those of Lists()
    QTest::addColumn<QStringList>("errors"); // what the user is shown
    QTest::addColumn<QStringList>("labels"); // the file label's texts while shown
    QTest::addColumn<bool>("succeeded");
    QTest::addColumn<QString>("stored"); // "image" (the TFTP image), the FTP store's names, or "" for nothing

    const QStringList none;
    QTest::newRow("TFTP image read back the same")
        << "upgrade=tftp"
        << "fw.bin" << none << Texts({"fw.bin"}) << true << "image";
    QTest::newRow("TFTP image in capitals") << "upgrade=tftp"
                                            << "FW.BIN" << none << Texts({"FW.BIN"}) << true << "image";
    QTest::newRow("TFTP read-back differs")
        << "upgrade=tftp,tftp-corrupt"
        << "fw.bin" << Texts({"Verify Error"}) << Texts({"fw.bin"}) << false << "image";
    QTest::newRow("TFTP read-back longer than the image")
        << "upgrade=tftp,tftp-endless"
        << "fw.bin" << Texts({"Verify Error"}) << Texts({"fw.bin"}) << false << "image";
    QTest::newRow("TFTP error packet")
        << "upgrade=tftp,tftp-error"
        << "fw.bin" << Texts({"Transfert Error: Flash memory full"}) << Texts({"fw.bin"}) << false << "";
    QTest::newRow("FTP image as rom.bin")
        << "upgrade=ftp"
        << "fw.rom.bin" << none << Texts({"fw.rom.bin"}) << true << "rom.bin";
    QTest::newRow("FTP image as image.bin")
        << "upgrade=ftp"
        << "olg.image.bin" << none << Texts({"olg.image.bin"}) << true << "image.bin";
    QTest::newRow("FTP image without a known name")
        << "upgrade=ftp"
        << "firmware.bin" << Texts({"File must be xx.image.bin or xx.rom.bin"}) << none << false << "";
    QTest::newRow("FTP login refused")
        << "upgrade=ftp,ftp-badlogin"
        << "fw.rom.bin"
        << Texts({"Transfert Error: FTP server 127.0.0.10 refused the login: 530 Login incorrect"}) << none
        << false << "";
    QTest::newRow("FTP store fails") << "upgrade=ftp,ftp-storefail"
                                     << "fw.rom.bin"
                                     << Texts({"Transfert Error: FTP server 127.0.0.10 refused to store "
                                               "rom.bin: 451 Flash write failed"})
                                     << Texts({"fw.rom.bin"}) << false << "";
    QTest::newRow("file set: deletes, then stores")
        << "upgrade=ftp,ftpfiles=old.htm+logo.gif"
        << "list.cfg" << Texts({"File missing.htm not found!", "File  not found!"})
        << Texts({"Deleting logo.gif", "Deleting old.htm", "", "index.htm"}) << true << "index.htm";
    QTest::newRow("file set on an empty store")
        << "upgrade=ftp"
        << "list.cfg" << Texts({"File missing.htm not found!", "File  not found!"})
        << Texts({"", "index.htm"}) << true << "index.htm";
    QTest::newRow("file set: names in Windows-1252")
        << "upgrade=ftp"
        << "accents.cfg" << none << Texts({"", "caf\xC3\xA9.htm"}) << true << "caf\xC3\xA9.htm";
    QTest::newRow("file set: a name outside the list's folder sends nothing")
        << "upgrade=ftp"
        << "outside.cfg"
        << Texts(
               {"The upload list outside.cfg names \"../index.htm\", which is not a file of its own folder: "
                "nothing of the list was sent"})
        << none << false << "";
    QTest::newRow("upgrades locked: no answer")
        << "upgrade=none"
        << "fw.bin" << Texts({"Device not responding"}) << none << false << "";
    QTest::newRow("TFTP device takes no file set")
        << "upgrade=tftp"
        << "list.cfg" << Texts({"File missing.htm not found!", "File  not found!", "Device not responding"})
        << none << false << "";
    QTest::newRow("answer after another host's datagram")
        << "upgrade=tftp,delay=300"
        << "fw.bin" << none << Texts({"fw.bin"}) << true << "image";
    QTest::newRow("late answer starts nothing")
        << "upgrade=tftp,delay=1300"
        << "fw.bin" << Texts({"Device not responding"}) << none << false << "";
    QTest::newRow("other extension: nothing sent") << "upgrade=tftp"
                                                   << "notes.txt" << none << none << false << "";
}

void TestUpgradeFlow::upgrade() {
    QFETCH(QString, device);
    QFETCH(QString, file);
    QFETCH(QStringList, errors);
    QFETCH(QStringList, labels);
    QFETCH(bool, succeeded);
    QFETCH(QString, stored);

    QTemporaryDir dir;
    const QString state = dir.filePath(QStringLiteral("state.json"));
    SimulatedLan lan;
    QString error;
    QVERIFY2(lan.StartSimulator({QStringLiteral("--device"),
                                 QStringLiteral("type=0x08000100,mac=02-00-00-00-00-01,") + device,
                                 QStringLiteral("--state"), state},
                                &error),
             qPrintable(error));

    QByteArray image(300000, '\0');
    for (qsizetype i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>(i * 7 + i / 251);
    for (const QString& name : {file, QStringLiteral("index.htm"), QString::fromUtf8("caf\xC3\xA9.htm")}) {
        QFile out(dir.filePath(name));
        QVERIFY(out.open(QIODevice::WriteOnly));
        out.write(name.endsWith(QLatin1String(".cfg")) ? Lists(name) : image);
    }
    // The read-back goes into a temporary folder of its own, which must not stay.
    const QString temporary = dir.filePath(QStringLiteral("tmp"));
    QVERIFY(QDir().mkpath(temporary));
    qputenv("TMPDIR", QFile::encodeName(temporary));

    RecordingPrompts prompts;
    RecordingNeighbourCache neighbours;
    TServeur serveur(testing::SharedRegistry(), prompts, lan.Settings());
    UpgradeSettings settings = UpgradeSettings::For(lan.Settings());
    settings.Tftp.TimeoutMs = 1000;
    settings.Ftp.TimeoutMs = 2000;
    settings.ProgrammingWaitMs = 10;
    UpgradeFlow flow(serveur, prompts, &neighbours, settings);
    QStringList shown;
    connect(&flow, &UpgradeFlow::FileLabelChanged, this, [&](const QString& text, bool visible) {
        if (visible)
            shown.append(text);
    });

    // Another host's datagram while the flow waits (another Finder's scan, say) is not the device's answer.
    QUdpSocket stranger;
    QVERIFY(stranger.bind(QHostAddress(QStringLiteral("127.0.0.99")), 0));
    QTimer::singleShot(100, &stranger, [&] {
        stranger.writeDatagram(QByteArray(27, '\1'), QHostAddress(QHostAddress::LocalHost),
                               serveur.LocalPort());
    });
    flow.Run(Device, dir.filePath(file));
    // A late answer must find the flow deaf to it.
    if (qstrcmp(QTest::currentDataTag(), "late answer starts nothing") == 0)
        UpgradeFlow::WaitPumping(800);

    qunsetenv("TMPDIR");
    QCOMPARE(QDir(temporary).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    QCOMPARE(prompts.errors, errors);
    QCOMPARE(shown, labels);
    QCOMPARE(flow.LastResult().Succeeded, succeeded);
    QVERIFY(!flow.Busy());
    QCOMPARE(neighbours.dropped, flow.LastResult().Sent ? QStringList{Device} : QStringList{});
    const QJsonObject after = DeviceState(state);
    QStringList names;
    for (const QJsonValue entry : after.value(QStringLiteral("ftpFiles")).toArray())
        names.append(entry.toObject().value(QStringLiteral("name")).toString());
    const QJsonObject tftpImage = after.value(QStringLiteral("tftpImage")).toObject();
    if (stored == QLatin1String("image")) {
        QCOMPARE(tftpImage.value(QStringLiteral("sha256")).toString(), Sha256(image));
    } else {
        QVERIFY(tftpImage.isEmpty());
        if (!stored.isEmpty())
            QCOMPARE(names, QStringList{stored});
    }
}

QTEST_GUILESS_MAIN(TestUpgradeFlow)
#include "test_upgrade_flow.moc"
