// The main window's web pages and configuration files, offscreen, against a fake device on loopback: what
// is opened, dropped, asked, written and loaded, and what is refused.

#include "FakeDevice.h"
#include "RecordingNeighbourCache.h"
#include "RecordingPrompts.h"
#include "TFormMain.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

using namespace olg;
using olg::testing::FakeDevice;
using olg::testing::RecordingNeighbourCache;
using olg::testing::RecordingPrompts;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;   // web pages by plain HTTP
constexpr std::uint32_t Olg8w = 0x08030100;   // HTTPS by its flags, with an administration page
constexpr std::uint32_t Unknown = 0x7F000000; // not registered
const QString Sender = QStringLiteral("127.0.0.9");
const QByteArray Olg1nSection = "[olg1n]\r\n";

// Stands in for the browser: the URLs the program asks the desktop to open, after what happened before.
class Browser : public QObject {
    Q_OBJECT

public:
    explicit Browser(QStringList& events) : events_(events) {
        for (const QString& scheme : {QStringLiteral("http"), QStringLiteral("https")})
            QDesktopServices::setUrlHandler(scheme, this, "Open");
    }
    ~Browser() override {
        for (const QString& scheme : {QStringLiteral("http"), QStringLiteral("https")})
            QDesktopServices::unsetUrlHandler(scheme);
    }

public slots:
    void Open(const QUrl& url) { events_.append(QStringLiteral("open ") + url.toString()); }

private:
    QStringList& events_;
};

struct Fixture {
    Fixture() {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.BindPort = 0;
        settings.TargetAddress = FakeDevice::Address();
        settings.TargetPort = device.Port();
        form = std::make_unique<TFormMain>(prompts, settings);
        form->SetNeighbourCache(neighbours);
        neighbours.onDrop = [this](const QString& address) {
            events.append(QStringLiteral("drop ") + address);
        };
        timer = form->findChild<QTimer*>(QStringLiteral("Timer"));
    }

    // One device listed and selected, with its web port and flags.
    void List(std::uint32_t type, int port = 0, int flags = 0) {
        form->DeviceReply(Sender, 52389, FakeDevice::Reply(FakeDevice::Mac(1), "Hall", type, "olg1n"), true);
        TOLG record = form->Devices().At(0);
        record.SetValue(4, ParamValue::Integer(port));
        record.SetValue(6, ParamValue::Integer(flags));
        form->Devices().Replace(0, record);
    }
    void Trigger(const QString& entry) { form->findChild<QAction*>(entry)->trigger(); }

    RecordingPrompts prompts;
    RecordingNeighbourCache neighbours;
    QStringList events;
    Browser browser{events};
    FakeDevice device;
    std::unique_ptr<TFormMain> form;
    QTimer* timer;
};

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

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
    QTest::addColumn<int>("port");
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QStringList>("events");

    const QString drop = QStringLiteral("drop ") + Sender;
    QTest::newRow("home from the toolbar")
        << Olg1n << 8080 << 0 << QStringLiteral("HomeButton")
        << QStringList{drop, QStringLiteral("open http://127.0.0.9:8080/")};
    QTest::newRow("home by double click") << Olg1n << 80 << 0 << QStringLiteral("double click")
                                          << QStringList{drop, QStringLiteral("open http://127.0.0.9/")};
    QTest::newRow("administration by HTTPS")
        << Olg8w << 8080 << 0x81 << QStringLiteral("AdminPopup")
        << QStringList{drop, QStringLiteral("open https://127.0.0.9/sysadmin.htm")};
    QTest::newRow("unknown type") << Unknown << 80 << 0 << QStringLiteral("HomePopup") << QStringList();
    QTest::newRow("nothing listed") << 0u << 80 << 0 << QStringLiteral("HomePopup") << QStringList();
}

void TestMainWindowFiles::webPages() {
    QFETCH(quint32, type);
    QFETCH(int, port);
    QFETCH(int, flags);
    QFETCH(QString, entry);
    QFETCH(QStringList, events);
    Fixture fixture;
    if (type != 0)
        fixture.List(type, port, flags);
    if (entry == QLatin1String("double click"))
        fixture.form->StringGridDblClick();
    else
        fixture.Trigger(entry);
    QCOMPARE(fixture.events, events);
    QCOMPARE(fixture.prompts.errors, QStringList());
}

void TestMainWindowFiles::saveConfig_data() {
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<bool>("answers");
    QTest::addColumn<QByteArray>("before"); // empty: no file
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QByteArray>("kept"); // what of the file before must still stand at its start

    const QByteArray other = "; by hand\r\n[olg8w]\r\n13=134414592\r\n7=Roof\r\n";
    QTest::newRow("new file") << true << true << QByteArray() << QStringList() << QByteArray();
    QTest::newRow("file with another model's section") << true << true << other << QStringList() << other;
    QTest::newRow("device silent: no file")
        << true << false << QByteArray() << QStringList{QStringLiteral("Device not responding")}
        << QByteArray();
    QTest::newRow("dialog cancelled") << false << true << QByteArray() << QStringList() << QByteArray();
}

void TestMainWindowFiles::saveConfig() {
    QFETCH(bool, chosen);
    QFETCH(bool, answers);
    QFETCH(QByteArray, before);
    QFETCH(QStringList, errors);
    QFETCH(QByteArray, kept);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.cfg"));
    if (!before.isEmpty()) {
        WriteFile(path, before);
        QFile::setPermissions(path,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    }
    Fixture fixture;
    fixture.List(Olg1n, 8080);
    if (answers)
        fixture.device.SetAnswers({FakeDevice::Reply(FakeDevice::Mac(1), " Hall \xe9", Olg1n, "olg1n")});
    if (chosen)
        fixture.prompts.fileAnswers = QStringList{path};

    fixture.Trigger(QStringLiteral("SaveConfigPopup"));
    QCOMPARE(fixture.prompts.fileDialogs.size(), 1);
    QVERIFY(!fixture.prompts.fileDialogs[0].Open);
    QCOMPARE(
        fixture.prompts.fileDialogs[0].Request,
        (FileDialogRequest{QStringLiteral("Save olg1n"), QStringLiteral("olg1n.cfg"), QStringLiteral("cfg"),
                           QStringLiteral("Config files (*.cfg);;All files (*)")}));
    QCOMPARE(fixture.prompts.errors, errors);
    QCOMPARE(fixture.device.Requests().isEmpty(), !chosen);
    const QByteArray after = FileBytes(path);
    if (!chosen || !answers) {
        QCOMPARE(after, before);
        return;
    }
    // The device's section follows what was there, with the name read from the device, blanks kept.
    QVERIFY(after.startsWith(kept));
    const QByteArray section = after.mid(kept.size());
    QVERIFY2(section.startsWith(Olg1nSection + "1=0.0.0.0\r\n2=0.0.0.0\r\n3=0.0.0.0\r\n4=8080\r\n"),
             section.constData());
    QVERIFY(section.contains("\r\n7=\" Hall \xe9\"\r\n"));
    QVERIFY(!section.contains("\r\n10="));
    // A new file is its owner's alone; an existing one keeps its permissions.
    const QFile::Permissions permissions =
        before.isEmpty() ? QFile::ReadOwner | QFile::WriteOwner
                         : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther;
    QCOMPARE(QFile::permissions(path) & ~(QFile::ReadUser | QFile::WriteUser), permissions);
}

void TestMainWindowFiles::loadConfig_data() {
    QTest::addColumn<bool>("chosen");
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("dialogResult");
    QTest::addColumn<bool>("dialogRuns");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<QString>("name"); // of the record afterwards, unless a scan emptied the list
    QTest::addColumn<bool>("scansAgain");

    const QByteArray fits = Olg1nSection + "13=16843008\r\n7=From file\r\n";
    QTest::newRow("loaded and confirmed")
        << true << fits << 1 << true << QStringList() << QStringLiteral("From file") << true;
    QTest::newRow("loaded and cancelled: the record keeps the file's values")
        << true << fits << 2 << true << QStringList() << QStringLiteral("From file") << false;
    QTest::newRow("same model name, other type code")
        << true << Olg1nSection + "13=16843009\r\n7=From file\r\n"
        << 1 << false << QStringList{QStringLiteral("Config file not compatible with destination device")}
        << QStringLiteral("Hall") << false;
    QTest::newRow("dialog cancelled")
        << false << fits << 1 << false << QStringList() << QStringLiteral("Hall") << false;
}

void TestMainWindowFiles::loadConfig() {
    QFETCH(bool, chosen);
    QFETCH(QByteArray, file);
    QFETCH(int, dialogResult);
    QFETCH(bool, dialogRuns);
    QFETCH(QStringList, errors);
    QFETCH(QString, name);
    QFETCH(bool, scansAgain);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("site.cfg"));
    WriteFile(path, file);
    Fixture fixture;
    fixture.List(Olg1n);
    QList<DialogFactory::Run> runs;
    QString shownName;
    fixture.form->Dialogs().Register("olg1n", [&](QWidget*, int selected, DialogFactory::Run run) {
        runs.append(run);
        shownName = QString::fromStdString(fixture.form->Devices().At(selected).Value(7).AsText());
        return dialogResult;
    });
    if (chosen)
        fixture.prompts.fileAnswers = QStringList{path};

    fixture.Trigger(QStringLiteral("LoadConfigPopup"));
    QCOMPARE(fixture.prompts.fileDialogs.size(), 1);
    QVERIFY(fixture.prompts.fileDialogs[0].Open);
    QCOMPARE(fixture.prompts.fileDialogs[0].Request.Title, QStringLiteral("Open Config"));
    QCOMPARE(fixture.prompts.errors, errors);
    QCOMPARE(runs, dialogRuns ? QList<DialogFactory::Run>{DialogFactory::Run::Loaded}
                              : QList<DialogFactory::Run>{});
    if (dialogRuns)
        QCOMPARE(shownName, QStringLiteral("From file"));
    // A new scan empties the list; otherwise the record keeps what the load left in it.
    QCOMPARE(fixture.timer->isActive(), scansAgain);
    if (!scansAgain)
        QCOMPARE(QString::fromStdString(fixture.form->Devices().At(0).Value(7).AsText()), name);
    QCOMPARE(fixture.device.Requests().size(), 0);
    QCOMPARE(FileBytes(path), file);
}

QTEST_MAIN(TestMainWindowFiles)
#include "test_mainwindow_files.moc"
