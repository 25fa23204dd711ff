// Configure from the main window against the device simulator on loopback, one row per model: Options reads
// every tab from the device, one change on a tab of the model's own goes back with OK and nothing else
// changes on the device; Cancel writes nothing.

#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormMain.h"
#include "TOlgForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

using namespace olg;
using olg::testing::RecordingPrompts;

namespace {

constexpr int ScanBound = 8000; // a scan lasts about 2.5 s

// One device per model, with firmware recent enough for every page.
const QStringList Devices{
    QStringLiteral("type=0x01010100,mac=00-0A-95-00-00-01,fw=1.4.0.0,name=One"),
    QStringLiteral("type=0x04000100,mac=00-0A-95-00-00-02,fw=1.2.0.0,name=Four A"),
    QStringLiteral("type=0x04010100,mac=00-0A-95-00-00-03,fw=1.2.0.0,name=Four N"),
    QStringLiteral("type=0x08000100,mac=00-0A-95-00-00-04,fw=1.2.0.0,name=Group"),
    QStringLiteral("type=0x08010100,mac=00-0A-95-00-00-05,fw=1.2.0.0,name=Eight N"),
    QStringLiteral("type=0x08020100,mac=00-0A-95-00-00-06,fw=1.2.0.0,name=Eight K"),
    QStringLiteral("type=0x08030200,mac=00-0A-95-00-00-07,fw=2.0.0.3 build 5,name=Eight W"),
};

} // namespace

class TestConfigure : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void changeOneValue_data();
    void changeOneValue();

private:
    QJsonObject Stored(const QString& mac) const;
    bool Select(const QString& mac);
    // Runs Configure; the action gets the open dialog and ends its run.
    void Configure(const std::function<void(TOlgForm&)>& action);
    bool ScanOver() const;

    QTemporaryDir dir_;
    std::unique_ptr<SimulatedLan> lan_;
    olg::testing::RecordingPlatform platform_;
    RecordingPrompts prompts_;
    std::unique_ptr<TFormMain> form_;
};

void TestConfigure::initTestCase() {
    QVERIFY(dir_.isValid());
    lan_ = std::make_unique<SimulatedLan>();
    QStringList arguments;
    for (const QString& device : Devices)
        arguments << QStringLiteral("--device") << device;
    arguments << QStringLiteral("--state") << dir_.filePath(QStringLiteral("state.json"));
    QString error;
    QVERIFY2(lan_->StartSimulator(arguments, &error), qPrintable(error));
    QTRY_VERIFY(!Stored(QStringLiteral("00-0A-95-00-00-07")).isEmpty());

    form_ = std::make_unique<TFormMain>(platform_, prompts_, lan_->Settings());
    form_->show();
    form_->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(ScanOver(), ScanBound);
    QCOMPARE(form_->Devices().Size(), Devices.size());
}

void TestConfigure::cleanupTestCase() {
    form_.reset();
    lan_.reset();
}

QJsonObject TestConfigure::Stored(const QString& mac) const {
    QFile file(dir_.filePath(QStringLiteral("state.json")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QJsonArray devices =
        QJsonDocument::fromJson(file.readAll()).object().value(QStringLiteral("devices")).toArray();
    for (const QJsonValue& device : devices)
        if (device[QStringLiteral("mac")].toString() == mac)
            return device[QStringLiteral("params")].toObject();
    return {};
}

bool TestConfigure::ScanOver() const {
    return !form_->findChild<QTimer*>(QStringLiteral("Timer"))->isActive();
}

bool TestConfigure::Select(const QString& mac) {
    auto* grid = form_->findChild<QTableView*>(QStringLiteral("StringGrid"));
    for (int row = 0; row < grid->model()->rowCount(); ++row) {
        if (grid->model()->index(row, 3).data().toString() ==
            QString(mac).replace(QLatin1Char('-'), QLatin1Char('.'))) {
            grid->setCurrentIndex(grid->model()->index(row, 0));
            return form_->SelectedDevice() == row;
        }
    }
    return false;
}

void TestConfigure::Configure(const std::function<void(TOlgForm&)>& action) {
    bool ran = false;
    QTimer::singleShot(0, form_.get(), [&] {
        auto* dialog = qobject_cast<TOlgForm*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        ran = true;
        action(*dialog);
        // A failed check leaves the dialog open; close it so that the run ends.
        if (dialog->isVisible())
            dialog->reject();
    });
    form_->Config();
    QVERIFY(ran);
}

void TestConfigure::changeOneValue_data() {
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("control"); // on a tab of the model's own form
    QTest::addColumn<QString>("text");    // typed into an edit; empty: the button is clicked
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("mask"); // a click: the bits it sets within the mask, or flips without bits
    QTest::addColumn<int>("bits");

    QTest::newRow("olg1n socket name")
        << QStringLiteral("00-0A-95-00-00-01") << QStringLiteral("olg1n_SocketName")
        << QStringLiteral("Desk lamp") << 40 << 0 << 0;
    QTest::newRow("olg4a authorized socket") << QStringLiteral("00-0A-95-00-00-02")
                                             << QStringLiteral("CheckBox6") << QString() << 63 << 0x02 << -1;
    QTest::newRow("olg4n power-up socket 2 off")
        << QStringLiteral("00-0A-95-00-00-03") << QStringLiteral("RadioButton14") << QString() << 80 << 0x0C
        << 0x08;
    QTest::newRow("olg8a restart delay 10")
        << QStringLiteral("00-0A-95-00-00-04") << QStringLiteral("d6") << QString() << 36 << 0xFF << 10;
    QTest::newRow("olg8n power-up socket 6 off")
        << QStringLiteral("00-0A-95-00-00-05") << QStringLiteral("LMDRadioButton37") << QString() << 80
        << 0x0C00 << 0x0800;
    QTest::newRow("olg8k administrator login")
        << QStringLiteral("00-0A-95-00-00-06") << QStringLiteral("Edit9") << QStringLiteral("chief") << 8 << 0
        << 0;
    QTest::newRow("olg8w DNS server") << QStringLiteral("00-0A-95-00-00-07") << QStringLiteral("DNS1")
                                      << QStringLiteral("10.1.2.3") << 14 << 0 << 0;
}

void TestConfigure::changeOneValue() {
    QFETCH(QString, mac);
    QFETCH(QString, control);
    QFETCH(QString, text);
    QFETCH(int, id);
    QFETCH(int, mask);
    QFETCH(int, bits);

    QTRY_VERIFY_WITH_TIMEOUT(ScanOver(), ScanBound);
    QVERIFY(Select(mac));
    const QJsonObject before = Stored(mac);
    const QString key = QString::number(id);
    QJsonObject expected = before;
    if (!text.isEmpty())
        expected.insert(key, text);
    else if (bits < 0)
        expected.insert(key, before.value(key).toInt() ^ mask);
    else
        expected.insert(key, (before.value(key).toInt() & ~mask) | bits);
    QVERIFY2(expected != before, "the change must differ from what the device holds");

    auto change = [&](TOlgForm& dialog) {
        if (!dialog.AvanceButton->isHidden()) {
            dialog.AvanceButtonClick();
            QVERIFY(dialog.Advanced());
        }
        QWidget* widget = dialog.findChild<QWidget*>(control);
        QVERIFY(widget != nullptr);
        if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            edit->setText(text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            button->click();
        } else {
            // The IP address edit: its boxes take the octets.
            const QStringList octets = text.split(QLatin1Char('.'));
            const QList<QLineEdit*> boxes = widget->findChildren<QLineEdit*>();
            QCOMPARE(boxes.size(), 4);
            for (int i = 0; i < 4; ++i)
                boxes[i]->setText(octets[i]);
        }
    };

    Configure([&](TOlgForm& dialog) {
        change(dialog);
        dialog.CancelBtn->click();
    });
    QCOMPARE(Stored(mac), before);
    QVERIFY(ScanOver());

    Configure([&](TOlgForm& dialog) {
        change(dialog);
        dialog.OKBtn->click();
    });
    QTRY_COMPARE(Stored(mac), expected);
    QVERIFY2(prompts_.errors.isEmpty(), qPrintable(prompts_.errors.join(QLatin1Char('\n'))));
    // OK scans again.
    QVERIFY(!ScanOver());
}

QTEST_MAIN(TestConfigure)
#include "test_configure.moc"
