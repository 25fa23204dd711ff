// The main window's web pages and configuration files, offscreen, against a fake device on loopback.

#include "FakeDevice.h"
#include "RecordingNeighbourCache.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "TFormMain.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <optional>

using namespace olg;
using namespace olg::testing;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;
const QString Filter = QStringLiteral("Config files (*.cfg);;All files (*)");

// The window with one device listed and selected (web port 8080, flags 0x81), its exchange on loopback; it
// stands in for the browser and records what was dropped and opened, in order.
class Fixture : public QObject {
    Q_OBJECT

public:
    explicit Fixture(std::uint32_t type, const std::string& name = "Hall") {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
        neighbours.onDrop = [this](const QString& address) {
            events.append(QStringLiteral("drop ") + address);
        };
        ExchangeSettings settings{QHostAddress(QHostAddress::LocalHost), 0, FakeDevice::Address(),
                                  device.Port()};
        form = std::make_unique<TFormMain>(prompts, settings);
        form->SetNeighbourCache(neighbours);
        const QByteArray reply = FakeDevice::Reply(FakeDevice::Mac(1), name, type, "olg1n");
        form->DeviceReply(QStringLiteral("127.0.0.9"), 52389, reply, true);
        TOLG record = form->Devices().At(0);
        record.SetValue(4, ParamValue::Integer(8080));
        record.SetValue(6, ParamValue::Integer(0x81));
        form->Devices().Replace(0, record);
        path = dir.filePath(QStringLiteral("site.cfg"));
    }
    ~Fixture() override {
        for (const char* scheme : {"http", "https"})
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
    }
    void Trigger(const char* entry) { form->findChild<QAction*>(QString::fromLatin1(entry))->trigger(); }

    RecordingPrompts prompts;
    RecordingNeighbourCache neighbours;
    QStringList events;
    FakeDevice device;
    std::unique_ptr<TFormMain> form;
    QTemporaryDir dir;
    QString path;

public slots:
    void Open(const QUrl& url) { events.append(QStringLiteral("open ") + url.toString()); }
};

} // namespace

class TestMainWindowFiles : public QObject {
    Q_OBJECT

private slots:
    void webPages_data();
    void webPages();
    void saveConfig_data();
    void saveConfig();
    void loadConfig_data();
    void loadConfig();
};

void TestMainWindowFiles::webPages_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("entry");
    QTest::addColumn<QStringList>("events"); // and then the warnings shown

    const QString drop = QStringLiteral("drop 127.0.0.9");
    QTest::newRow("home") << Olg1n << QByteArray("HomeButton")
                          << QStringList{drop, QStringLiteral("open http://127.0.0.9:8080/")};
    QTest::newRow("administration") << 0x08030100u << QByteArray("AdminPopup")
                                    << QStringList{drop,
                                                   QStringLiteral("open https://127.0.0.9/sysadmin.htm")};
    QTest::newRow("unknown type") << 0x7F000000u << QByteArray("HomePopup") << QStringList();
    QTest::newRow("no browser") << Olg1n << QByteArray("HomeMenu")
                                << QStringList{drop, QStringLiteral("No web browser could be started for the "
                                                                    "device's page. Its address:\n\n"
                                                                    "http://127.0.0.9:8080/")};
}

void TestMainWindowFiles::webPages() {
    QFETCH(quint32, type);
    QFETCH(QByteArray, entry);
    QFETCH(QStringList, events);
    // A desktop without a browser refuses to open the address.
    std::optional<RecordingPlatform> noBrowser;
    if (QTest::currentDataTag() == QByteArrayView("no browser"))
        noBrowser.emplace().browserInstalled = false;
    Fixture fixture(type);
    fixture.Trigger(entry.constData());
    QCOMPARE(fixture.events + fixture.prompts.warnings, events);
}

void TestMainWindowFiles::saveConfig_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<int>("answeredBy"); // the MAC whose reply answers the read, 0 for none
    QTest::addColumn<QString>("error");

    const QString silent = QStringLiteral("Device not responding");
    QTest::newRow("saved") << QByteArray(" Hall \xe9") << 1 << QString();
    QTest::newRow("device silent") << QByteArray("Hall") << 0 << silent;
    QTest::newRow("only another device answers") << QByteArray("Hall") << 2 << silent;
    QTest::newRow("name with a line break")
        << QByteArray("Hall\r\n2") << 1
        << QStringLiteral("Parameter 7 holds a line break or a NUL byte, which a "
                          "configuration file cannot hold; nothing was written");
}

void TestMainWindowFiles::saveConfig() {
    QFETCH(QByteArray, name);
    QFETCH(int, answeredBy);
    QFETCH(QString, error);
    Fixture fixture(Olg1n, name.toStdString());
    fixture.device.SetAnswers({});
    if (answeredBy != 0)
        fixture.device.SetAnswers({FakeDevice::Reply(FakeDevice::Mac(static_cast<std::uint64_t>(answeredBy)),
                                                     name.toStdString(), Olg1n, "olg1n")});
    fixture.prompts.fileAnswers = QStringList{fixture.path};
    fixture.Trigger("SaveConfigPopup");
    QCOMPARE(fixture.prompts.fileDialogs.size(), 1);
    QCOMPARE(fixture.prompts.fileDialogs[0].Request,
             (FileDialogRequest{QStringLiteral("Save olg1n"), QStringLiteral("olg1n.cfg"),
                                QStringLiteral("cfg"), Filter}));
    QCOMPARE(fixture.prompts.errors, error.isEmpty() ? QStringList() : QStringList{error});
    QFile file(fixture.path);
    QCOMPARE(file.open(QIODevice::ReadOnly), error.isEmpty());
    if (error.isEmpty()) {
        QVERIFY(file.readAll().startsWith(
            "[olg1n]\r\n1=0.0.0.0\r\n2=0.0.0.0\r\n3=0.0.0.0\r\n4=8080\r\n5=olg1n\r\n"
            "6=129\r\n7=\" Hall \xe9\"\r\n"));
        // It holds passwords: the owner's alone.
        QCOMPARE(file.permissions() & ~(QFile::ReadUser | QFile::WriteUser),
                 QFile::ReadOwner | QFile::WriteOwner);
    }
}

void TestMainWindowFiles::loadConfig_data() {
    QTest::addColumn<QByteArray>("file"); // empty: the open dialog is cancelled
    QTest::addColumn<int>("dialogResult");
    QTest::addColumn<QString>("error");

    const QByteArray fits = "[OLG1N]\r\n13 = 0x01010100\r\n7=From file\r\n";
    QTest::newRow("confirmed, then a scan") << fits << 1 << QString();
    QTest::newRow("cancelled in the dialog") << fits << 2 << QString();
    QTest::newRow("same model name, other type code")
        << QByteArray("[olg1n]\r\n13=16843009\r\n") << 1
        << QStringLiteral("Config file not compatible with destination device");
    QTest::newRow("open dialog cancelled") << QByteArray() << 1 << QString();
    // The port would reach the device as 0.
    QTest::newRow("number out of range")
        << fits + "4=65536\r\n"
        << 1
        << QStringLiteral("%1: parameter 4: \"65536\" is not a number from 0 to "
                          "65535; the file was not loaded");
}

void TestMainWindowFiles::loadConfig() {
    QFETCH(QByteArray, file);
    QFETCH(int, dialogResult);
    QFETCH(QString, error);
    Fixture fixture(Olg1n);
    QFile out(fixture.path);
    QVERIFY(out.open(QIODevice::WriteOnly) && out.write(file) == file.size());
    out.close();
    if (!file.isEmpty())
        fixture.prompts.fileAnswers = QStringList{fixture.path};
    QList<TOLG> shown;
    fixture.form->Dialogs().Register("olg1n", [&](QWidget*, int selected, DialogFactory::Run run) {
        if (run == DialogFactory::Run::Loaded)
            shown.append(fixture.form->Devices().At(selected));
        return dialogResult;
    });
    fixture.Trigger("LoadConfigPopup");
    QCOMPARE(fixture.prompts.fileDialogs.size(), 1);
    QCOMPARE(fixture.prompts.fileDialogs[0].Request,
             (FileDialogRequest{QStringLiteral("Open Config"), {}, QStringLiteral("cfg"), Filter}));
    QCOMPARE(fixture.prompts.errors,
             error.isEmpty() ? QStringList()
                             : QStringList{error.contains(u'%') ? error.arg(fixture.path) : error});
    const bool loaded = !file.isEmpty() && error.isEmpty();
    QCOMPARE(shown.size(), loaded ? 1 : 0);
    // The dialog shows the file's values; a key the file lacks gives its kind's default.
    if (loaded)
        QVERIFY(shown[0].Value(7) == ParamValue::Text("From file") &&
                shown[0].Value(4) == ParamValue::Integer(0));
    QCOMPARE(fixture.form->findChild<QTimer*>(QStringLiteral("Timer"))->isActive(),
             loaded && dialogResult == 1);
    QCOMPARE(fixture.device.Requests().size(), 0);
}

QTEST_MAIN(TestMainWindowFiles)
#include "test_mainwindow_files.moc"
