// The main window's list as the user arranges it, offscreen: sorting and filtering keep the selected device,
// the export of the devices shown read back by an independent reader, and the mark of devices that answer
// from one IP address.

#include "FakeDevice.h"
#include "MacAddress.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "TFormMain.h"
#include "TestSupport.h"

#include <QHeaderView>
#include <QJsonDocument>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace olg;
using olg::testing::FakeDevice;
using olg::testing::Texts;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;

struct Device {
    const char* Name;
    const char* Model;
    const char* Address;
    std::uint64_t Mac;
};

// Name, type, IP and MAC each order the three devices differently, and none in the order of first replies;
// text order would put 10.0.0.20 before 10.0.0.3 and PDU-10 before PDU-9.
const Device Devices[] = {
    {"PDU-9", "olg8n", "10.0.0.20", 0x30},
    {"lab", "olg1n", "10.0.0.3", 0x10},
    {"pdu-10", "olg4a", "9.0.0.100", 0x20},
};

// The window with the three devices listed, its exchange on loopback.
struct Fixture {
    Fixture() {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.TargetAddress = FakeDevice::Address();
        form = std::make_unique<TFormMain>(platform, prompts, settings);
        form->show();
        grid = form->findChild<QTableView*>(QStringLiteral("StringGrid"));
        filter = form->findChild<QLineEdit*>(QStringLiteral("FilterEdit"));
        for (const Device& device : Devices)
            Reply(device);
    }
    void Reply(const Device& device, const char* address = nullptr) {
        form->DeviceReply(QString::fromLatin1(address ? address : device.Address), 52389,
                          FakeDevice::Reply(FakeDevice::Mac(device.Mac), device.Name, Olg1n, device.Model),
                          true);
    }
    void ClickRow(int row) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                          grid->visualRect(grid->model()->index(row, 0)).center());
    }
    void ClickTitle(int column) {
        QHeaderView* titles = grid->horizontalHeader();
        const QPoint centre(titles->sectionViewportPosition(column) + titles->sectionSize(column) / 2,
                            titles->height() / 2);
        QTest::mouseClick(titles->viewport(), Qt::LeftButton, {}, centre);
    }
    QString Cell(int row, int column, int role = Qt::DisplayRole) const {
        return grid->model()->index(row, column).data(role).toString();
    }
    // The names in the rows shown, or in the highlighted ones.
    QStringList Names(bool highlighted = false) const {
        QStringList names;
        for (int row = 0; row < grid->model()->rowCount(); ++row) {
            if (!highlighted || grid->selectionModel()->isRowSelected(row))
                names.append(Cell(row, 0));
        }
        return names;
    }

    olg::testing::RecordingPlatform platform;
    olg::testing::RecordingPrompts prompts;
    std::unique_ptr<TFormMain> form;
    QTableView* grid;
    QLineEdit* filter;
};

QStringList NamesOf(const QList<int>& indexes) {
    QStringList names;
    for (int index : indexes)
        names.append(QString::fromLatin1(Devices[index].Name));
    return names;
}

// The exported file as rows of texts, read by Python's own csv or json module.
QList<QStringList> ReadBack(const QString& path, bool json) {
    const QString script =
        json ? QStringLiteral("import json,sys\n"
                              "keys=['name','type','ip','mac','typeCode','firmware','interface','conflict']\n"
                              "rows=[[str(o[k]) for k in keys] for o in json.load(open(sys.argv[1]))]\n"
                              "print(json.dumps([keys]+rows))")
             : QStringLiteral(
                   "import csv,json,sys\n"
                   "print(json.dumps(list(csv.reader(open(sys.argv[1],newline='',encoding='utf-8')))))");
    QProcess python;
    python.start(QStandardPaths::findExecutable(QStringLiteral("python3")),
                 {QStringLiteral("-c"), script, path});
    if (!python.waitForFinished(10000) || python.exitCode() != 0)
        return {};
    QList<QStringList> rows;
    for (const QVariant& row : QJsonDocument::fromJson(python.readAllStandardOutput()).toVariant().toList())
        rows.append(row.toStringList());
    return rows;
}

} // namespace

class TestListView : public QObject {
    Q_OBJECT

private slots:
    void sortAndFilterKeepSelection_data();
    void sortAndFilterKeepSelection();
    void exportReadBack_data();
    void exportReadBack();
    void addressConflictMark();
    void layoutRemembered();
};

void TestListView::sortAndFilterKeepSelection_data() {
    QTest::addColumn<QList<int>>("titleClicks");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("order of first replies") << QList<int>{} << QString() << 1 << QList<int>{0, 1, 2} << 1;
    QTest::newRow("name, numbers by value") << QList<int>{0} << QString() << 1 << QList<int>{1, 0, 2} << 1;
    QTest::newRow("name reversed") << QList<int>{0, 0} << QString() << 2 << QList<int>{2, 0, 1} << 2;
    QTest::newRow("third click, first replies")
        << QList<int>{0, 0, 0} << QString() << 2 << QList<int>{0, 1, 2} << 2;
    QTest::newRow("IP by number") << QList<int>{2} << QString() << 0 << QList<int>{2, 1, 0} << 0;
    QTest::newRow("MAC after name") << QList<int>{0, 3} << QString() << 2 << QList<int>{1, 2, 0} << 2;
    QTest::newRow("filter on name, any case")
        << QList<int>{} << QStringLiteral("pDu") << 2 << QList<int>{0, 2} << 2;
    QTest::newRow("filter on IP") << QList<int>{} << QStringLiteral("9.0.") << 2 << QList<int>{2} << 2;
    QTest::newRow("filter on MAC with colons")
        << QList<int>{} << QStringLiteral("00:30") << 0 << QList<int>{0} << 0;
    QTest::newRow("filter hides the selected device")
        << QList<int>{} << QStringLiteral("pdu") << 1 << QList<int>{0, 2} << 0;
    QTest::newRow("sorted and filtered")
        << QList<int>{3} << QStringLiteral("pdu") << 1 << QList<int>{2, 0} << 2;
    QTest::newRow("filter hides all, selection stays")
        << QList<int>{} << QStringLiteral("zzz") << 1 << QList<int>{} << 1;
}

void TestListView::sortAndFilterKeepSelection() {
    QFETCH(QList<int>, titleClicks);
    QFETCH(QString, filter);
    QFETCH(int, selectedBefore);
    QFETCH(QList<int>, shown);
    QFETCH(int, selectedAfter);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    fixture.ClickRow(selectedBefore);
    QCOMPARE(fixture.form->SelectedDevice(), selectedBefore);

    for (int column : titleClicks)
        fixture.ClickTitle(column);
    fixture.filter->setText(filter);
    QCOMPARE(fixture.Names(), NamesOf(shown));
    QCOMPARE(fixture.form->SelectedDevice(), selectedAfter);
    // With a filter, the status bar says how many devices it lets through.
    const auto* note = fixture.form->findChild<QLabel*>(QStringLiteral("FilterNote"));
    QCOMPARE(note->isVisibleTo(fixture.form.get()), !filter.isEmpty());
    QCOMPARE(note->text(), QStringLiteral("%1 of 3 devices shown").arg(shown.size()));
    if (!shown.isEmpty()) {
        QCOMPARE(fixture.Names(true), NamesOf({selectedAfter}));
        // A click and a reply of a device keep working on list indexes, whatever the order shown.
        fixture.ClickRow(static_cast<int>(shown.size()) - 1);
        QCOMPARE(fixture.form->SelectedDevice(), shown.last());
        fixture.Reply(Devices[shown.last()]);
        QCOMPARE(fixture.Names(), NamesOf(shown));
        QCOMPARE(fixture.Names(true), NamesOf({shown.last()}));
    }
}

void TestListView::exportReadBack_data() {
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("json");
    QTest::addColumn<bool>("written");
    QTest::newRow("CSV") << QStringLiteral("list.csv") << false << true;
    QTest::newRow("JSON") << QStringLiteral("list.JSON") << true << true;
    QTest::newRow("folder missing") << QStringLiteral("missing/list.csv") << false << false;
}

void TestListView::exportReadBack() {
    QFETCH(QString, fileName);
    QFETCH(bool, json);
    QFETCH(bool, written);
    if (written && QStandardPaths::findExecutable(QStringLiteral("python3")).isEmpty())
        QSKIP("python3 reads the file back");
    Fixture fixture;
    const Device quoted{"Rack \"A\", left\nbay", "olg8w", "10.0.0.1", 0x000A959D6816};
    fixture.Reply(quoted);
    QTemporaryDir dir;
    const QString path = dir.filePath(fileName);
    fixture.prompts.fileAnswers = QStringList{path};
    // Only what is shown, in its order: by IP address, highest first, without 9.0.0.100.
    fixture.ClickTitle(2);
    fixture.ClickTitle(2);
    fixture.filter->setText(QStringLiteral("10.0.0."));
    fixture.form->findChild<QAction*>(QStringLiteral("ExportListMenu"))->trigger();

    QCOMPARE(fixture.prompts.fileDialogs.size(), 1);
    QVERIFY(fixture.prompts.fileDialogs[0].Request.ConfirmOverwrite);
    QCOMPARE(fixture.form->statusBar()->currentMessage(),
             written ? QStringLiteral("3 devices exported to ") + path : QString());
    if (!written) {
        QCOMPARE(fixture.prompts.errors.size(), 1);
        QVERIFY(fixture.prompts.errors[0].contains(path));
        QVERIFY(!QFileInfo::exists(path));
        return;
    }
    QVERIFY(fixture.prompts.errors.isEmpty());
    QList<QStringList> expected{
        json ? Texts({"name", "type", "ip", "mac", "typeCode", "firmware", "interface", "conflict"})
             : Texts({"Name", "Type", "IP Address", "MAC Address", "Type code", "Firmware", "Interface",
                      "Conflict"})};
    for (const Device& device : {Devices[0], Devices[1], quoted})
        expected.append(Texts({device.Name, device.Model, device.Address, FormatMac(".", device.Mac).c_str(),
                               "0x01010100", "", "", ""}));
    QCOMPARE(ReadBack(path, json), expected);
}

void TestListView::addressConflictMark() {
    Fixture fixture;
    // The first device's row is marked, and repainted, when another answers from its address.
    QSignalSpy changed(fixture.grid->model(), &QAbstractItemModel::dataChanged);
    const auto repainted = [&](int row) {
        return std::any_of(changed.begin(), changed.end(), [row](const QList<QVariant>& signal) {
            return signal[0].toModelIndex().row() <= row && row <= signal[1].toModelIndex().row();
        });
    };
    fixture.Reply(Devices[2], Devices[0].Address);
    const auto background = [&](int row) {
        return fixture.grid->model()->index(row, 1).data(Qt::BackgroundRole).isValid();
    };
    QTRY_VERIFY(background(0));
    QVERIFY(repainted(0));
    QVERIFY(background(2));
    QVERIFY(!background(1));
    QCOMPARE(fixture.Cell(0, 3, Qt::ToolTipRole),
             QStringLiteral("IP address 10.0.0.20 is also used by 00.00.00.00.00.20"));
    QCOMPARE(fixture.Cell(2, 0, Qt::ToolTipRole),
             QStringLiteral("IP address 10.0.0.20 is also used by 00.00.00.00.00.30"));
    QCOMPARE(fixture.Cell(1, 0, Qt::ToolTipRole), QString());
    // The device answers from an address of its own again: the mark goes.
    changed.clear();
    fixture.Reply(Devices[2]);
    QTRY_VERIFY(!background(0));
    QVERIFY(!background(2));
    QVERIFY(repainted(0));
}

void TestListView::layoutRemembered() {
    Fixture fixture;
    fixture.form->resize(900, 500);
    fixture.grid->horizontalHeader()->resizeSection(0, 222);
    fixture.ClickTitle(2);
    // The next run, on the same settings.
    fixture.form.reset();
    fixture.form = std::make_unique<TFormMain>(fixture.platform, fixture.prompts,
                                               ExchangeSettings{QHostAddress(QHostAddress::LocalHost), 0});
    fixture.grid = fixture.form->findChild<QTableView*>(QStringLiteral("StringGrid"));
    for (const Device& device : Devices)
        fixture.Reply(device);
    QCOMPARE(fixture.form->size(), QSize(900, 500));
    QCOMPARE(fixture.grid->horizontalHeader()->sectionSize(0), 222);
    QCOMPARE(fixture.Names(), NamesOf({2, 1, 0}));
}

QTEST_MAIN(TestListView)
#include "test_list_view.moc"
