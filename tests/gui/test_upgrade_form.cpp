// The upgrade dialog offscreen: its state when opened, and whole upgrades against the simulator on loopback.

#include "RecordingNeighbourCache.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormWarning.h"
#include "TIPEdit.h"
#include "TServeur.h"
#include "TUpgradeForm.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace olg;
using olg::testing::RecordingNeighbourCache;
using olg::testing::RecordingPrompts;

namespace {

const QString Device = QStringLiteral("127.0.0.10");

void Write(const QString& path, const QByteArray& contents) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        qFatal("cannot write a test file");
}

// Screenshots for a look at the dialog, when asked for.
void Shoot(QWidget* widget, const char* name) {
    const QString folder = qEnvironmentVariable("OLG_SCREENSHOT_DIR");
    if (!folder.isEmpty())
        widget->grab().save(folder + QLatin1Char('/') + QLatin1String(name) + QStringLiteral(".png"));
}

} // namespace

class TestUpgradeForm : public QObject {
    Q_OBJECT

private slots:
    void opening_data();
    void opening();
    void warning();
    void upgrade_data();
    void upgrade();
};

void TestUpgradeForm::opening_data() {
    QTest::addColumn<bool>("fullFeatures");
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("fileExists");
    QTest::addColumn<bool>("enabled");

    QTest::newRow("device listed") << false << Device << true << true;
    QTest::newRow("nothing listed") << false << QString() << true << false;
    QTest::newRow("no such file") << false << Device << false << false;
    QTest::newRow("full features, nothing listed") << true << QString() << true << false;
}

void TestUpgradeForm::opening() {
    QFETCH(bool, fullFeatures);
    QFETCH(QString, address);
    QFETCH(bool, fileExists);
    QFETCH(bool, enabled);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("fw.bin"));
    if (fileExists)
        Write(file, "image");
    RecordingPrompts prompts;
    TServeur serveur(testing::SharedRegistry(), prompts,
                     {QHostAddress::LocalHost, 0, QHostAddress::LocalHost, 9});
    TUpgradeForm form(serveur, prompts, nullptr, nullptr);
    form.SetFullFeatures(fullFeatures);
    prompts.fileAnswers = {file};
    form.Browse();
    QCOMPARE(prompts.fileDialogs.size(), 1);
    QCOMPARE(prompts.fileDialogs[0].Request.Title, QStringLiteral("Choose the upgrade file"));
    form.PrepareUpgrade(address);
    form.show();
    QCOMPARE(form.UpgradeFile()->text(), file);
    QCOMPARE(form.UpgradeIP()->Text(), address);
    QCOMPARE(form.UpgradeIP()->ReadOnly(), !fullFeatures);
    QCOMPARE(form.UpgradeBtn()->isEnabled(), enabled);
    QCOMPARE(form.focusWidget(), enabled ? static_cast<QWidget*>(form.UpgradeBtn()) : form.UpgradeFile());
    QVERIFY(form.FileLabel()->isHidden() && form.ProgressBar()->isHidden() && form.WaitLabel()->isHidden());
    if (!fullFeatures)
        return;
    // A typed address does not enable Upgrade until the file is chosen again.
    form.UpgradeIP()->SetText(Device);
    QCOMPARE(form.UpgradeBtn()->isEnabled(), false);
    prompts.fileAnswers = {file};
    form.Browse();
    QCOMPARE(form.UpgradeBtn()->isEnabled(), fileExists);
    Shoot(&form, "upgrade-idle");
}

void TestUpgradeForm::warning() {
    // Enter and Esc both mean Return.
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        TFormWarning form(QStringLiteral("line 1\r\nline 2"));
        QWidget* focused = nullptr;
        QTimer::singleShot(0, &form, [&] {
            focused = form.focusWidget();
            QTest::keyClick(focused, key);
        });
        QCOMPARE(form.exec(), static_cast<int>(QDialog::Rejected));
        QCOMPARE(focused, form.Button2());
    }
    QCOMPARE(UpgradeFlow::WarningText(),
             QStringLiteral("CAUTION: You selected the function to update the firmware.\r\n"
                            "By updating your firmware, your are taking a risk of flash failure.\r\n \r\n"
                            "If your firmware is working stable, and there are no major bugs \r\n"
                            "that had been fixed by a later revision, we recommend that you \r\n"
                            "DO NOT try to upgrade your current version."));
    TFormWarning form(UpgradeFlow::WarningText());
    QTimer::singleShot(0, form.Button1(), &QPushButton::click);
    QCOMPARE(form.exec(), static_cast<int>(QDialog::Accepted));
    Shoot(&form, "warning");
}

void TestUpgradeForm::upgrade_data() {
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("fullFeatures");
    QTest::addColumn<QList<bool>>("answers"); // to the warning
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("errors");
    QTest::addColumn<bool>("closes");

    const QStringList none;
    const QList<bool> yes{true};
    QTest::newRow("TFTP image") << "upgrade=tftp" << false << yes << "fw.bin" << none << true;
    QTest::newRow("FTP image") << "upgrade=ftp" << false << yes << "fw.rom.bin" << none << true;
    QTest::newRow("file set") << "upgrade=ftp,ftpfiles=old.htm" << false << yes << "list.cfg" << none << true;
    QTest::newRow("full features: no warning")
        << "upgrade=tftp" << true << QList<bool>{} << "fw.bin" << none << true;
    QTest::newRow("warning answered Return")
        << "upgrade=tftp" << false << QList<bool>{false} << "fw.bin" << none << false;
    QTest::newRow("read-back differs") << "upgrade=tftp,tftp-corrupt" << false << yes << "fw.bin"
                                       << QStringList{QStringLiteral("Verify Error")} << true;
    QTest::newRow("no answer") << "upgrade=none" << false << yes << "fw.bin"
                               << QStringList{QStringLiteral("Device not responding")} << false;
    QTest::newRow("FTP image without a known name")
        << "upgrade=ftp" << false << yes << "firmware.bin"
        << QStringList{QStringLiteral("File must be xx.image.bin or xx.rom.bin")} << false;
}

void TestUpgradeForm::upgrade() {
    QFETCH(QString, device);
    QFETCH(bool, fullFeatures);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, file);
    QFETCH(QStringList, errors);
    QFETCH(bool, closes);

    SimulatedLan lan;
    QString error;
    QVERIFY2(lan.StartSimulator({QStringLiteral("--device"),
                                 QStringLiteral("type=0x08000100,mac=02-00-00-00-00-01,") + device},
                                &error),
             qPrintable(error));
    QTemporaryDir dir;
    Write(dir.filePath(file),
          file.endsWith(QLatin1String(".cfg")) ? QByteArray("index.htm\n") : QByteArray(400000, 'f'));
    Write(dir.filePath(QStringLiteral("index.htm")), "<html></html>");

    RecordingPrompts prompts;
    prompts.upgradeAnswers = answers;
    RecordingNeighbourCache neighbours;
    TServeur serveur(testing::SharedRegistry(), prompts, lan.Settings());
    QWidget window;
    window.resize(800, 600);
    window.show();
    TUpgradeForm form(serveur, prompts, &neighbours, &window);
    form.SetFullFeatures(fullFeatures);
    form.UpgradeFile()->setText(dir.filePath(file));
    form.PrepareUpgrade(Device);
    form.open();

    // The window lives on during the transfer: a timer keeps ticking and the bar moves.
    int ticks = 0;
    QTimer ticker;
    connect(&ticker, &QTimer::timeout, this, [&] { ++ticks; });
    ticker.start(5);
    int highest = 0;
    bool busyShown = false;
    connect(&form.Flow(), &UpgradeFlow::Work, this, [&] {
        highest = std::max(highest, form.ProgressBar()->value());
        busyShown = busyShown || (QApplication::overrideCursor() && !form.UpgradeBtn()->isEnabled() &&
                                  !form.CancelBtn()->isEnabled());
        if (highest == form.ProgressBar()->maximum() && form.FileLabel()->isVisible())
            Shoot(&form, "upgrade-busy");
    });
    QTest::mouseClick(form.UpgradeBtn(), Qt::LeftButton);

    QCOMPARE(prompts.upgradeWarnings.size(), fullFeatures ? 0 : 1);
    QCOMPARE(prompts.errors, errors);
    QCOMPARE(form.isVisible(), !closes);
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QVERIFY(form.UpgradeBtn()->isEnabled());
    QVERIFY(form.FileLabel()->isHidden() && form.ProgressBar()->isHidden() && form.WaitLabel()->isHidden());
    const bool sent = answers.value(0, fullFeatures);
    QCOMPARE(neighbours.dropped, sent ? QStringList{Device} : QStringList{});
    if (closes) {
        QVERIFY(busyShown);
        QVERIFY(highest > 0);
        QVERIFY(ticks > 0);
    }
}

QTEST_MAIN(TestUpgradeForm)
#include "test_upgrade_form.moc"
