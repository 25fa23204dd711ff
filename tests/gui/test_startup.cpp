// Start-up offscreen: the distribution variant from the version block, the about box, the Options dialog
// over a settings file of the test's own, printing labels into the MAC log, and the single instance.

#include "ApplicationIcon.h"
#include "FakeDevice.h"
#include "FileDialogFolders.h"
#include "ProcSystemInformation.h"
#include "QSettingsStore.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "RecordingSingleInstance.h"
#include "TFormMain.h"
#include "TOptionsForm.h"
#include "TVersionInfo.h"
#include "TestSupport.h"
#include "WindowActivation.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <fstream>
#include <memory>

using namespace olg;
using olg::testing::FakeDevice;
using olg::testing::RecordingPlatform;
using olg::testing::RecordingPrompts;
using olg::testing::RecordingSingleInstance;
using olg::testing::Texts;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;
const QString Title = QStringLiteral("eOutletGuard Finder");

QString BinFile(const QString& name) {
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

// The executables the tests read: this one carries build 0, olgctl build 4 (the program's own), the source
// file none.
QString Executable(const QString& which) {
    if (which == QLatin1String("build 0"))
        return QCoreApplication::applicationFilePath();
    if (which == QLatin1String("build 4"))
        return BinFile(QStringLiteral("olgctl"));
    return QStringLiteral(__FILE__);
}

// The main window over recording services, its exchange on loopback towards a fake device.
struct Window {
    explicit Window(const QString& executable) : platform(Executable(executable)) {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.BindPort = 0;
        settings.TargetAddress = FakeDevice::Address();
        settings.TargetPort = device.Port();
        form = std::make_unique<TFormMain>(platform, prompts, settings);
    }
    QAction* Entry(const char* name) const { return form->findChild<QAction*>(QLatin1String(name)); }
    void AddDevice(std::uint64_t mac) {
        form->DeviceReply(QStringLiteral("127.0.0.9"), 52389,
                          FakeDevice::Reply(FakeDevice::Mac(mac), "d", Olg1n, "olg1n"), true);
    }

    RecordingPlatform platform;
    RecordingPrompts prompts;
    FakeDevice device;
    std::unique_ptr<TFormMain> form;
};

// Runs this on the next modal dialog, once it is up.
void OnModal(std::function<void(QWidget*)> action) {
    QTimer::singleShot(0, [action = std::move(action)] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        action(QApplication::activeModalWidget());
    });
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void variant_data();
    void variant();
    void versionInfo_data();
    void versionInfo();
    void aboutBox_data();
    void aboutBox();
    void systemInformation();
    void options_data();
    void options();
    void fileDialogFolders_data();
    void fileDialogFolders();
    void print_data();
    void print();
    void singleInstance();
    void bringToFront();
    void applicationIcon_data();
    void applicationIcon();
};

void TestStartup::variant_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<int>("distributorCode");
    QTest::addColumn<bool>("fullFeatures");
    QTest::addColumn<bool>("printShown");
    QTest::addColumn<bool>("upgradeAtStart");
    QTest::newRow("build 0") << "build 0" << 0x1325 << true << true << true;
    QTest::newRow("build 4") << "build 4" << 0x1525 << false << false << false;
    // No variant: the controls as the form has them.
    QTest::newRow("no version block") << "none" << 0x1325 << false << true << true;
}

void TestStartup::variant() {
    QFETCH(QString, executable);
    QFETCH(int, distributorCode);
    QFETCH(bool, fullFeatures);
    QFETCH(bool, printShown);
    QFETCH(bool, upgradeAtStart);
    Window window(executable);
    QCOMPARE(window.form->GetDistribution().FullFeatures, fullFeatures);
    QCOMPARE(window.Entry("PrintButton")->isVisible(), printShown);
    QVERIFY(!window.Entry("PrintButton")->isEnabled());
    QCOMPARE(window.Entry("Options")->isVisible(), printShown);
    QCOMPARE(window.Entry("N4")->isVisible(), printShown);
    QVERIFY(window.Entry("UpgradeButton")->isVisible());
    QCOMPARE(window.Entry("UpgradeButton")->isEnabled(), upgradeAtStart);
    window.AddDevice(1);
    QVERIFY(window.Entry("UpgradeButton")->isEnabled());
    QCOMPARE(window.Entry("PrintButton")->isVisible(), printShown);

    // The code goes out in every request, low byte first.
    QSignalSpy requests(&window.device, &FakeDevice::RequestReceived);
    window.form->Scan();
    QVERIFY(requests.wait(5000));
    const QByteArray request = window.device.Requests().constFirst();
    QCOMPARE(quint8(request.at(18)) | quint8(request.at(19)) << 8, distributorCode);
}

void TestStartup::versionInfo_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<qint64>("cutAt"); // only this much of the file is read; -1: all of it
    // File version, build, internal name, description, product version.
    QTest::addColumn<QStringList>("texts");
    const QString none = QStringLiteral("<info not available>");
    const QStringList noTexts{none, none, none, none, none};
    const QString olgctl = BinFile(QStringLiteral("olgctl"));
    QTest::newRow("olgctl") << olgctl << qint64(-1)
                            << Texts({"1.8.0.4", "4", "olgctl", "eOutletGuard Finder command-line tool",
                                      "1.8.0.4"});
    QTest::newRow("olgfinder") << BinFile(QStringLiteral("olgfinder")) << qint64(-1)
                               << Texts({"1.8.0.4", "4", "olgfinder", "eOutletGuard Finder", "1.8.0.4"});
    QTest::newRow("a version of its own")
        << QCoreApplication::applicationFilePath() << qint64(-1)
        << Texts({"1.8.0.0", "0", "test_startup", "Start-up tests", "1.8.0.4"});
    QTest::newRow("ELF header only") << olgctl << qint64(40) << noTexts;
    QTest::newRow("section table cut off") << olgctl << QFileInfo(olgctl).size() - 100 << noTexts;
    QTest::newRow("no version block") << QStringLiteral(__FILE__) << qint64(-1) << noTexts;
    QTest::newRow("no file") << QStringLiteral("/nonexistent/olgfinder") << qint64(-1) << noTexts;
}

void TestStartup::versionInfo() {
    QFETCH(QString, file);
    QFETCH(qint64, cutAt);
    QFETCH(QStringList, texts);
    QTemporaryDir dir;
    if (cutAt >= 0) {
        const QString cut = dir.filePath(QStringLiteral("cut"));
        QFile copy(cut);
        QVERIFY(copy.open(QIODevice::WriteOnly));
        copy.write(ReadFile(file).left(cutAt));
        file = cut;
    }
    TVersionInfo info;
    info.GetInfo(file);
    QCOMPARE((QStringList{info.FileVersion, info.Build, info.Internalname, info.FileDescription,
                          info.ProductVersion}),
             texts);
    const bool found = texts.constFirst() != QLatin1String("<info not available>");
    for (const QString* text :
         {&info.CompanyName, &info.LegalCopyright, &info.LegalTradeMarks, &info.OriginalFilename,
          &info.ProductName, &info.Comments, &info.MajorVersion, &info.MinorVersion, &info.Release})
        QCOMPARE(*text == QLatin1String("<info not available>"), !found);
}

void TestStartup::aboutBox_data() {
    QTest::addColumn<QString>("executable");
    QTest::addColumn<QStringList>("labels"); // top to bottom
    QTest::newRow("build 4, with links")
        << "build 4"
        << Texts({"ProductName", "Version", "FileDescription", "LegalCopyright", "WebAddress", "MailAddress",
                  "Rule", "SystemLabels"});
    QTest::newRow("no version block, no links")
        << "none"
        << Texts({"ProductName", "Version", "FileDescription", "LegalCopyright", "Rule", "SystemLabels"});
}

void TestStartup::aboutBox() {
    QFETCH(QString, executable);
    QFETCH(QStringList, labels);
    Window window(executable);
    const std::unique_ptr<QDialog> about =
        TFormAbout(window.form->CollectAboutFacts(), window.platform).Build(window.form.get());
    about->show();
    QCOMPARE(about->windowTitle(), QStringLiteral("About eOutletGuard Finder ..."));
    const auto label = [&](const QString& name) { return about->findChild<QWidget*>(name); };
    int top = -1;
    for (const QString& name : labels) {
        QVERIFY2(label(name), qPrintable(name));
        QVERIFY2(label(name)->y() > top, qPrintable(name));
        top = label(name)->y();
    }
    QVERIFY(!label(QStringLiteral("WebAddress")) == !labels.contains(QStringLiteral("WebAddress")));
    QVERIFY(!label(QStringLiteral("MailAddress")) == !labels.contains(QStringLiteral("MailAddress")));
    const auto* title = about->findChild<QLabel*>(QStringLiteral("ProductName"));
    QCOMPARE(title->text(), Title);
    QCOMPARE(title->font().pointSize(), 22);
    QVERIFY(title->font().bold());
    const QString version = about->findChild<QLabel*>(QStringLiteral("Version"))->text();
    QCOMPARE(version, executable == QLatin1String("none") ? QStringLiteral("Version <info not available>")
                                                          : QStringLiteral("Version 1.8.0.4"));
    if (auto* mail = about->findChild<QLabel*>(QStringLiteral("MailAddress"))) {
        QVERIFY(mail->text().contains(QStringLiteral("href=\"mailto:support@example.net\"")));
        // A link opens through the platform's services like every other address.
        emit mail->linkActivated(QStringLiteral("mailto:support@example.net"));
        QCOMPARE(window.platform.opened, QStringList{QStringLiteral("mailto:support@example.net")});
    }
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("SystemLabels"))->text(),
             QStringLiteral("Available Memory:\nPlatform, CPU:"));
    QCOMPARE(about->findChild<QLabel*>(QStringLiteral("SystemValues"))->text(),
             QStringLiteral("16314828 KB\n8x Test CPU 3000 or compatible"));
    QVERIFY(about->findChild<QPushButton*>(QStringLiteral("OKButton"))->isDefault());
}

void TestStartup::systemInformation() {
    // The machine's own /proc, whose files report the size 0 however much they hold.
    ProcSystemInformation system;
    QVERIFY(system.TotalMemoryKB() > 0);
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    QString model;
    while (model.isEmpty() && std::getline(cpuinfo, line))
        if (line.starts_with("model name"))
            model = QString::fromStdString(line.substr(line.find(':') + 1)).simplified();
    QCOMPARE(system.ProcessorName(), model.isEmpty() ? QSysInfo::currentCpuArchitecture() : model);
}

void TestStartup::options_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("browsed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("OK keeps the typed path") << "OKButton"
                                             << "/logs/new.txt" << QString() << "/logs/new.txt";
    QTest::newRow("OK keeps the browsed path") << "OKButton" << QString() << "/logs/chosen.txt"
                                               << "/logs/chosen.txt";
    QTest::newRow("OK with the path cleared") << "OKButton"
                                              << "" << QString() << "";
    QTest::newRow("Cancel changes nothing") << "CancelButton"
                                            << "/logs/new.txt"
                                            << "/logs/chosen.txt"
                                            << "/old/mac.txt";
}

void TestStartup::options() {
    QFETCH(QString, button);
    QFETCH(QString, typed);
    QFETCH(QString, browsed);
    QFETCH(QString, stored);
    // The real settings store, in a folder of the test's own.
    QTemporaryDir settingsDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    struct SettingsPlatform : RecordingPlatform {
        QSettingsStore store{Title};
        SettingsStore& Settings() override { return store; }
    };
    SettingsPlatform platform;
    platform.Settings().SetValue(QStringLiteral("Properties"), QStringLiteral("MACFile"),
                                 QStringLiteral("/old/mac.txt"));
    const QString file = settingsDir.filePath(Title + QStringLiteral(".conf"));
    const QByteArray before = ReadFile(file);
    QVERIFY(before.contains("[Properties]\nMACFile=/old/mac.txt"));

    RecordingPrompts prompts;
    TFormMain form(platform, prompts, ExchangeSettings{QHostAddress(QHostAddress::LocalHost), 0});
    QCOMPARE(form.MacLogFile(), QStringLiteral("/old/mac.txt"));
    if (!browsed.isNull())
        prompts.fileAnswers = {browsed};
    OnModal([&](QWidget* dialog) {
        auto* options = qobject_cast<TOptionsForm*>(dialog);
        QVERIFY(options);
        QCOMPARE(options->windowTitle(), QStringLiteral("Options"));
        QCOMPARE(options->MACFile()->text(), QStringLiteral("/old/mac.txt"));
        if (!typed.isNull())
            options->MACFile()->setText(typed);
        if (!browsed.isNull())
            options->findChild<QAbstractButton*>(QStringLiteral("MACFileBrowse"))->click();
        options->findChild<QPushButton*>(button)->click();
    });
    form.OptionsClick();
    QCOMPARE(form.MacLogFile(), stored);
    if (button == QLatin1String("CancelButton"))
        QCOMPARE(ReadFile(file), before);
    else
        QCOMPARE(QSettings(file, QSettings::IniFormat).value(QStringLiteral("Properties/MACFile")).toString(),
                 stored);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString());
}

void TestStartup::fileDialogFolders_data() {
    QTest::addColumn<QString>("chosen"); // the configuration file chosen before
    QTest::addColumn<QString>("proposed");
    QTest::addColumn<QString>("start");
    QTest::newRow("nothing chosen yet") << QString() << "olg1n.cfg"
                                        << "olg1n.cfg";
    QTest::newRow("the last folder of its kind") << "/site/a.cfg"
                                                 << "olg1n.cfg"
                                                 << "/site/olg1n.cfg";
    QTest::newRow("a name with its own folder") << "/site/a.cfg"
                                                << "/old/b.cfg"
                                                << "/old/b.cfg";
    QTest::newRow("another kind") << "/site/a.cfg"
                                  << "label.pdf"
                                  << "label.pdf";
}

void TestStartup::fileDialogFolders() {
    QFETCH(QString, chosen);
    QFETCH(QString, proposed);
    QFETCH(QString, start);
    RecordingPlatform platform;
    FileDialogFolders folders(platform);
    folders.Remember({QStringLiteral("Open Config"), {}, QStringLiteral("cfg"), {}}, chosen);
    QCOMPARE(folders.StartName({QStringLiteral("Any"), proposed, QFileInfo(proposed).suffix(), {}}), start);
}

void TestStartup::print_data() {
    QTest::addColumn<int>("printer"); // 1 installed, 0 none, -1 installed but failing
    QTest::addColumn<bool>("logSet");
    QTest::addColumn<int>("prints");
    QTest::addColumn<QStringList>("answers"); // file dialogs, in order: "pdf", "log" or "" for cancel
    QTest::addColumn<QStringList>("dialogs");
    QTest::addColumn<int>("jobs");
    QTest::addColumn<int>("logLines"); // -1: no log file
    QTest::addColumn<int>("warnings");
    const QString pdfDialog = QStringLiteral("Print MAC Address?");
    const QString logDialog = QStringLiteral("MAC File");
    QTest::newRow("on the printer") << 1 << true << 1 << QStringList() << QStringList() << 1 << 3 << 0;
    QTest::newRow("twice: printed again, logged once")
        << 1 << true << 2 << QStringList() << QStringList() << 2 << 3 << 1;
    QTest::newRow("no printer: into a PDF")
        << 0 << true << 1 << Texts({"pdf"}) << QStringList{pdfDialog} << 1 << 3 << 0;
    QTest::newRow("no printer, no PDF: no label, nothing logged")
        << 0 << true << 1 << Texts({""}) << QStringList{pdfDialog} << 0 << 0 << 0;
    QTest::newRow("printer fails: nothing logged")
        << -1 << true << 1 << QStringList() << QStringList() << 0 << 0 << 0;
    QTest::newRow("no log set: asked for")
        << 1 << false << 1 << Texts({"log"}) << QStringList{logDialog} << 1 << 3 << 0;
    QTest::newRow("no log set, none given")
        << 1 << false << 1 << Texts({""}) << QStringList{logDialog} << 1 << -1 << 0;
}

void TestStartup::print() {
    QFETCH(int, printer);
    QFETCH(bool, logSet);
    QFETCH(int, prints);
    QFETCH(QStringList, answers);
    QFETCH(QStringList, dialogs);
    QFETCH(int, jobs);
    QFETCH(int, logLines);
    QFETCH(int, warnings);
    QTemporaryDir dir;
    const QString log = dir.filePath(QStringLiteral("mac.txt"));
    const QString pdf = dir.filePath(QStringLiteral("label.pdf"));
    Window window(QStringLiteral("build 0"));
    window.platform.printerInstalled = printer != 0;
    if (printer < 0)
        window.platform.printError = QStringLiteral("Printing on Label printer failed.");
    if (logSet) {
        window.platform.SetValue(QStringLiteral("Properties"), QStringLiteral("MACFile"), log);
        window.form->LoadOptions();
    }
    for (const QString& answer : answers)
        window.prompts.fileAnswers.append(answer == QLatin1String("pdf")   ? pdf
                                          : answer == QLatin1String("log") ? log
                                                                           : QString());
    window.AddDevice(0x000A959D6816);
    for (int i = 0; i < prints; ++i)
        window.form->Print();

    QStringList titles;
    // The PDF file is written whole, the log keeps its lines: only the first asks before replacing.
    for (const auto& dialog : window.prompts.fileDialogs)
        titles.append(dialog.Request.Title +
                      (dialog.Request.ConfirmOverwrite ? QStringLiteral("?") : QString()));
    QCOMPARE(titles, dialogs);
    QCOMPARE(window.platform.jobs.size(), jobs);
    for (const PrintJob& job : window.platform.jobs) {
        QCOMPARE(job.Title, QStringLiteral("eOutletGuard Finder 00-0A-95-9D-68-16"));
        QVERIFY(job.Landscape);
        QCOMPARE(job.PdfFile, printer != 0 ? QString() : pdf);
    }
    // The label at the top left of the page.
    for (const QImage& page : window.platform.pages)
        QCOMPARE(page.pixelColor(0, 0), QColor(Qt::black));
    const QByteArray logged = ReadFile(log);
    QCOMPARE(logLines < 0 ? -1 : int(logged.count("\r\n")), logLines);
    if (logLines > 0)
        QVERIFY(logged.split('\n').at(2).startsWith("00-0A-95-9D-68-16 | "));
    QCOMPARE(window.prompts.warnings, QStringList(warnings, QStringLiteral("MAC Address already in use!")));
    QCOMPARE(window.prompts.errors, printer < 0 ? QStringList{window.platform.printError} : QStringList());
    if (!logSet && logLines > 0)
        QCOMPARE(window.platform.settings.value(QStringLiteral("Properties/MACFile")), log);
}

void TestStartup::singleInstance() {
    QTemporaryDir runtime;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());
    // Each probe with everything it said so far.
    struct Probe {
        QProcess process;
        QByteArray said;
        QByteArray Said() { return said += process.readAllStandardOutput(); }
    };
    const auto start = [&](Probe& probe) {
        probe.process.setProcessEnvironment(environment);
        probe.process.start(BinFile(QStringLiteral("single_instance_probe")), QStringList());
    };
    Probe first;
    start(first);
    QTRY_COMPARE_WITH_TIMEOUT(first.Said(), QByteArray("primary\n"), 10000);

    Probe second;
    start(second);
    QVERIFY(second.process.waitForFinished(10000));
    QCOMPARE(second.process.exitCode(), 0);
    QCOMPARE(second.Said(), QByteArray("secondary\n"));
    QTRY_COMPARE_WITH_TIMEOUT(first.Said(), QByteArray("primary\nactivated\n"), 10000);

    // A crash leaves the lock and the socket behind; the next start takes over all the same.
    first.process.kill();
    first.process.waitForFinished();
    QCOMPARE(QDir(runtime.path()).entryList(QDir::System | QDir::Files).size(), 2);
    Probe third;
    start(third);
    QTRY_COMPARE_WITH_TIMEOUT(third.Said(), QByteArray("primary\n"), 10000);
    third.process.kill();
    third.process.waitForFinished();
}

void TestStartup::bringToFront() {
    RecordingSingleInstance instance;
    QVERIFY(instance.Claim());
    QWidget window;
    FollowActivation(instance, window);
    window.showMinimized();
    QVERIFY(window.isMinimized());
    instance.LaterStart();
    QVERIFY(!window.isMinimized());
    QVERIFY(window.isVisible());
}

void TestStartup::applicationIcon_data() {
    QTest::addColumn<bool>("installed");
    QTest::newRow("installed beside the program") << true;
    QTest::newRow("run from the build tree") << false;
}

void TestStartup::applicationIcon() {
    QFETCH(bool, installed);
    QTemporaryDir prefix;
    const QString program = prefix.filePath(QStringLiteral("bin"));
    QStringList expected = olg::ApplicationIcon::Files(program);
    QCOMPARE(expected.size(), 2);
    if (installed) {
        // The built-in files, installed as the desktop's icon theme keeps them.
        for (QString& file : expected) {
            const QString target = prefix.filePath(QStringLiteral("share/icons/hicolor/") + file.mid(8));
            QVERIFY(QDir().mkpath(QFileInfo(target).path()));
            QVERIFY(QFile::copy(file, target));
            file = target;
        }
    }
    QCOMPARE(olg::ApplicationIcon::Files(program), expected);
    QCOMPARE(olg::ApplicationIcon::Load(program).availableSizes(),
             (QList<QSize>{QSize(256, 256), QSize(48, 48)}));
}

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
