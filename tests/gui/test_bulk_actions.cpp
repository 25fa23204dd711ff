// The actions on several devices, from the main window against the device simulator on loopback: Assign
// Addresses (the preview in the list's order, each refusal, then the write and the list scanned again) and
// Upgrade Selected Devices.

#include "AddressPlan.h"
#include "AssignAddressesDialog.h"
#include "BulkUpgradeDialog.h"
#include "DeviceResultTable.h"
#include "ParamIds.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormMain.h"
#include "TIPEdit.h"
#include "TestSupport.h"

#include <QApplication>
#include <QFile>
#include <QItemSelectionModel>
#include <QLabel>
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
using olg::testing::Texts;

namespace {

constexpr int ScanBound = 8000; // a scan lasts about 2.5 s

// Answering from 127.0.0.10 to .13 in this order; sorted by name, the first three are the reverse of it.
const QStringList Devices{
    // DHCP on: given a fixed address, it is turned off.
    QStringLiteral("type=0x01010100,mac=00-0A-95-00-00-01,name=Charlie,upgrade=tftp,fw=1.4.0.0,param6=16"),
    QStringLiteral("type=0x01010100,mac=00-0A-95-00-00-02,name=Bravo,upgrade=tftp"),
    QStringLiteral("type=0x01010100,mac=00-0A-95-00-00-03,name=Alpha,upgrade=none"),
    QStringLiteral("type=0x01010100,mac=00-0A-95-00-00-04,name=Delta,upgrade=tftp"),
};

void Shoot(QWidget* widget, const QString& name) {
    const QString folder = qEnvironmentVariable("OLG_SCREENSHOT_DIR");
    // The layout catches up with the texts set last before the picture.
    QCoreApplication::sendPostedEvents();
    if (!folder.isEmpty())
        widget->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

QStringList Column(const QTableWidget* table, int column) {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts.append(table->item(row, column)->text());
    return texts;
}

} // namespace

class TestBulkActions : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void upgradeSelected();
    void assignAddresses_data();
    void assignAddresses();

private:
    void Scan();
    // Highlights the rows of these names, the first one current.
    void Select(const QStringList& names);
    // Runs the action; the check gets its dialog, open, once it shows.
    template <typename Dialog>
    void Run(void (TFormMain::*action)(), const std::function<void(Dialog&)>& check);
    QStringList ShownRows() const;

    QTemporaryDir dir_;
    std::unique_ptr<SimulatedLan> lan_;
    olg::testing::RecordingPlatform platform_;
    RecordingPrompts prompts_;
    std::unique_ptr<TFormMain> form_;
    QTableView* grid_ = nullptr;
};

void TestBulkActions::initTestCase() {
    QVERIFY(dir_.isValid());
    lan_ = std::make_unique<SimulatedLan>();
    QStringList arguments;
    for (const QString& device : Devices)
        arguments << QStringLiteral("--device") << device;
    QString error;
    QVERIFY2(lan_->StartSimulator(arguments, &error), qPrintable(error));
    form_ = std::make_unique<TFormMain>(platform_, prompts_, lan_->Settings());
    form_->resize(800, 500);
    form_->show();
    grid_ = form_->findChild<QTableView*>(QStringLiteral("StringGrid"));
    form_->SortClick(0);
    Scan();
    QCOMPARE(ShownRows(),
             Texts({"Alpha 127.0.0.12", "Bravo 127.0.0.11", "Charlie 127.0.0.10", "Delta 127.0.0.13"}));
}

void TestBulkActions::cleanupTestCase() {
    form_.reset();
    lan_.reset();
}

void TestBulkActions::Scan() {
    form_->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(!form_->findChild<QTimer*>(QStringLiteral("Timer"))->isActive(), ScanBound);
}

QStringList TestBulkActions::ShownRows() const {
    QStringList rows;
    for (int row = 0; row < grid_->model()->rowCount(); ++row)
        rows.append(grid_->model()->index(row, 0).data().toString() + QLatin1Char(' ') +
                    grid_->model()->index(row, 2).data().toString());
    return rows;
}

void TestBulkActions::Select(const QStringList& names) {
    grid_->clearSelection();
    for (int row = 0; row < grid_->model()->rowCount(); ++row) {
        const QModelIndex cell = grid_->model()->index(row, 0);
        if (names.contains(cell.data().toString()))
            grid_->selectionModel()->setCurrentIndex(cell,
                                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

template <typename Dialog>
void TestBulkActions::Run(void (TFormMain::*action)(), const std::function<void(Dialog&)>& check) {
    bool ran = false;
    QTimer::singleShot(0, form_.get(), [&] {
        auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr)
            return;
        ran = true;
        check(*dialog);
        // A failed check leaves the dialog open; close it so that the run ends.
        if (dialog->isVisible())
            dialog->done(QDialog::Rejected);
    });
    (form_.get()->*action)();
    QVERIFY(ran);
}

void TestBulkActions::upgradeSelected() {
    const QString file = dir_.filePath(QStringLiteral("fw.bin"));
    QFile image(file);
    QVERIFY(image.open(QIODevice::WriteOnly) && image.write(QByteArray(20000, 'f')) == 20000);
    image.close();
    Select({QStringLiteral("Alpha"), QStringLiteral("Bravo")});
    prompts_.fileAnswers = {file};
    prompts_.upgradeAnswers = {true};
    Run<BulkUpgradeDialog>(&TFormMain::UpgradeSelectedClick, [](BulkUpgradeDialog& dialog) {
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Done(), 20000);
        QCOMPARE(Column(dialog.Table(), dialog.Table()->ResultColumn()),
                 Texts({"Device not responding", "Firmware sent and read back the same"}));
        QCOMPARE(dialog.Bar(1)->value(), 100);
        Shoot(&dialog, QStringLiteral("bulk-upgrade"));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    });
    // The warning once, and the devices' messages in the table only.
    QCOMPARE(prompts_.upgradeWarnings.size(), 1);
    QCOMPARE(prompts_.errors, QStringList());
}

void TestBulkActions::assignAddresses_data() {
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("gateway");
    QTest::addColumn<QString>("problem"); // empty: Enter writes
    QTest::addColumn<QStringList>("results");

    const QString mask = QStringLiteral("255.255.255.0");
    const QString gateway = QStringLiteral("127.0.0.1");
    const QStringList none{QString(), QString(), QString()};
    // Alpha and Bravo may take each other's addresses, not Delta's.
    QTest::newRow("taken by a device not selected")
        << "127.0.0.11" << mask << gateway << "127.0.0.13 is taken: Delta answers from it."
        << Texts({"", "", "Taken by Delta"});
    QTest::newRow("past .254") << "127.0.0.253" << mask << gateway
                               << "3 devices from 127.0.0.253 run past 127.0.0.254: start lower or select "
                                  "fewer devices."
                               << Texts({"", "", "Past 127.0.0.254"});
    QTest::newRow("past the subnet") << "127.0.0.61"
                                     << "255.255.255.192" << gateway
                                     << "3 devices from 127.0.0.61 run past 127.0.0.62: start lower or "
                                        "select fewer devices."
                                     << Texts({"", "", "Past 127.0.0.62"});
    QTest::newRow("not a mask") << "127.0.0.60"
                                << "255.0.255.0" << gateway << "255.0.255.0 is not a subnet mask." << none;
    QTest::newRow("gateway elsewhere") << "127.0.0.60" << mask << "10.0.0.1"
                                       << "The gateway 10.0.0.1 is not in the subnet 127.0.0.0/24." << none;
    QTest::newRow("gateway among them")
        << "127.0.0.60" << mask << "127.0.0.61"
        << "127.0.0.61 is the gateway's address." << Texts({"", "The gateway's address", ""});
    QTest::newRow("written") << "127.0.0.60" << mask << gateway << QString()
                             << Texts({"Written", "Written", "Written"});
}

void TestBulkActions::assignAddresses() {
    QFETCH(QString, first);
    QFETCH(QString, mask);
    QFETCH(QString, gateway);
    QFETCH(QString, problem);
    QFETCH(QStringList, results);

    const QStringList before = ShownRows();
    Select({QStringLiteral("Alpha"), QStringLiteral("Bravo"), QStringLiteral("Charlie")});
    Run<AssignAddressesDialog>(&TFormMain::AssignAddressesClick, [&](AssignAddressesDialog& dialog) {
        dialog.FirstAddress()->SetText(first);
        dialog.Mask()->SetText(mask);
        dialog.Gateway()->SetText(gateway);
        QCOMPARE(dialog.Problem()->text(), problem);
        QCOMPARE(dialog.OkButton()->isEnabled(), problem.isEmpty());
        QLineEdit* typing = dialog.Gateway()->Box(3);
        if (!problem.isEmpty()) {
            QCOMPARE(Column(dialog.Preview(), 3), results);
            Shoot(&dialog, QStringLiteral("assign-refused-") + QString::fromUtf8(QTest::currentDataTag()));
            QTest::keyClick(typing, Qt::Key_Escape);
            QVERIFY(!dialog.isVisible());
            return;
        }
        // In the order of the list, sorted by name.
        QCOMPARE(Column(dialog.Preview(), 2), Texts({"127.0.0.12 → 127.0.0.60", "127.0.0.11 → 127.0.0.61",
                                                     "127.0.0.10 → 127.0.0.62, DHCP off"}));
        Shoot(&dialog, QStringLiteral("assign-preview"));
        QTest::keyClick(typing, Qt::Key_Return);
        QCOMPARE(Column(dialog.Preview(), 3), results);
        Shoot(&dialog, QStringLiteral("assign-written"));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
    });
    QCOMPARE(prompts_.errors, QStringList());
    if (!problem.isEmpty()) {
        QCOMPARE(ShownRows(), before);
        return;
    }
    // Closing scanned again: the list shows the devices at their new addresses.
    QTRY_VERIFY_WITH_TIMEOUT(!form_->findChild<QTimer*>(QStringLiteral("Timer"))->isActive(), ScanBound);
    QCOMPARE(ShownRows(),
             Texts({"Alpha 127.0.0.60", "Bravo 127.0.0.61", "Charlie 127.0.0.62", "Delta 127.0.0.13"}));
    // Charlie's DHCP went off with the write; Delta, not selected, keeps its own.
    const DeviceList& devices = form_->Devices();
    QStringList dhcp;
    for (int device = 0; device < devices.Size(); ++device) {
        if (AddressPlan::DhcpOn(devices.At(device)))
            dhcp.append(QString::fromStdString(devices.At(device).Value(param::DeviceName).AsText()));
    }
    QCOMPARE(dhcp, QStringList{QStringLiteral("Delta")});
}

QTEST_MAIN(TestBulkActions)
#include "test_bulk_actions.moc"
