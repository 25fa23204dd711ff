// The main window offscreen, against a fake device on loopback: the scan, the grid, the selection and popup
// rules and which entries are offered when.

#include "Datagram.h"
#include "FakeDevice.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "ScanLimit.h"
#include "StreamingPeer.h"
#include "TFormMain.h"
#include "TIPEdit.h"
#include "TUpgradeForm.h"
#include "TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <QToolBar>

#include <memory>

using namespace olg;
using olg::testing::FakeDevice;
using olg::testing::RecordingPrompts;
using olg::testing::Texts;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;   // no administration page
constexpr std::uint32_t Olg8w = 0x08030100;   // with an administration page
constexpr std::uint32_t Unknown = 0x7F000000; // not registered
constexpr int ScanBound = 6000;               // a scan lasts about 2.5 s

// The window with its exchange on 127.0.0.1 and its requests going to the fake device.
struct Fixture {
    explicit Fixture(quint16 bindPort = 0) {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.BindPort = bindPort;
        settings.TargetAddress = FakeDevice::Address();
        settings.TargetPort = device.Port();
        form = std::make_unique<TFormMain>(platform, prompts, settings);
        form->show();
        grid = form->findChild<QTableView*>(QStringLiteral("StringGrid"));
        progress = form->findChild<QProgressBar*>(QStringLiteral("ProgressBar"));
        timer = form->findChild<QTimer*>(QStringLiteral("Timer"));
    }

    quint16 ExchangePort() { return form->Serveur().LocalPort(); }
    QAction* Entry(const QString& name) const { return form->findChild<QAction*>(name); }
    bool ScanOver() const { return !timer->isActive() && progress->isHidden(); }
    void Reply(const QByteArray& datagram) {
        form->DeviceReply(QStringLiteral("127.0.0.9"), 52389, datagram, true);
    }
    void Click(int row) {
        const QRect cell = grid->visualRect(grid->model()->index(row, 0));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    }
    QStringList Rows() const {
        QStringList rows;
        const QAbstractItemModel* model = grid->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            QStringList cells;
            for (int column = 0; column < model->columnCount(); ++column)
                cells.append(model->index(row, column).data().toString());
            rows.append(cells.join(QLatin1Char('|')));
        }
        return rows;
    }

    // Settings and printer of the test's own, never the user's.
    olg::testing::RecordingPlatform platform;
    RecordingPrompts prompts;
    FakeDevice device;
    std::unique_ptr<TFormMain> form;
    QTableView* grid;
    QProgressBar* progress;
    QTimer* timer;
};

const QStringList DeviceEntries{
    QStringLiteral("ScanButton"),     QStringLiteral("ScanMenu"),        QStringLiteral("ConfigButton"),
    QStringLiteral("ConfigMenu"),     QStringLiteral("ConfigPopup"),     QStringLiteral("HomeButton"),
    QStringLiteral("HomeMenu"),       QStringLiteral("HomePopup"),       QStringLiteral("AdminButton"),
    QStringLiteral("AdminMenu"),      QStringLiteral("AdminPopup"),      QStringLiteral("UpgradeButton"),
    QStringLiteral("PrintButton"),    QStringLiteral("LoadConfigMenu"),  QStringLiteral("LoadConfigPopup"),
    QStringLiteral("SaveConfigMenu"), QStringLiteral("SaveConfigPopup"), QStringLiteral("Options"),
    QStringLiteral("ExitMenu"),       QStringLiteral("AboutMenu"),
};

QStringList Captions(const QList<QAction*>& actions) {
    QStringList captions;
    for (const QAction* action : actions)
        captions.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return captions;
}

QStringList Words(const char* text) {
    return QString::fromLatin1(text).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT

private slots:
    void entriesInOrder_data();
    void entriesInOrder();
    void captionShortcutAndSeparator();
    void enablement_data();
    void enablement();
    void scanSendsTenDiscoveries();
    void rowsFromReplies_data();
    void rowsFromReplies();
    void lateRepliesAfterScan();
    void floodOfReplies();
    void adminEntriesFollowSelection_data();
    void adminEntriesFollowSelection();
    void popupRules_data();
    void popupRules();
    void titleRowOpensNoPopup();
    void doubleClickRunsHome_data();
    void doubleClickRunsHome();
    void selectionFollowsDevice_data();
    void selectionFollowsDevice();
    void lastColumnStretches_data();
    void lastColumnStretches();
    void configureDispatch_data();
    void configureDispatch();
    void portInUse();
    void upgradeOpensForSelection_data();
    void upgradeOpensForSelection();
};

void TestMainWindow::entriesInOrder_data() {
    QTest::addColumn<QString>("container");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("toolbar hints") << QStringLiteral("ToolBar")
                                   << Texts({"Scan", "Configure", "Home", "Administration", "Upgrade",
                                             "Print MAC Address"});
    QTest::newRow("File menu") << QStringLiteral("FileMenu")
                               << Texts({"&Scan", "&Configure", "&Home", "A&dministration",
                                         "Assign Add&resses...", "&Upgrade Selected Devices...", "-",
                                         "&Load Config", "S&ave Config", "&Export Device List...",
                                         "&Forget Offline Devices", "-", "&Options", "-", "E&xit"});
    QTest::newRow("View menu") << QStringLiteral("ViewMenu")
                               << Texts({"&Watch the LAN", "&Last Seen Column"});
    QTest::newRow("Help menu") << QStringLiteral("HelpMenu") << Texts({"&About..."});
    QTest::newRow("grid popup") << QStringLiteral("GridPopup")
                                << Texts({"Configure", "Home", "Administration", "-", "Load Config",
                                          "Save Config"});
    QTest::newRow("grid titles") << QStringLiteral("StringGrid")
                                 << Texts({"Name", "Type", "IP Address", "MAC Address"});
}

void TestMainWindow::entriesInOrder() {
    QFETCH(QString, container);
    QFETCH(QStringList, captions);
    Fixture fixture;
    QWidget* widget = fixture.form->findChild<QWidget*>(container);
    QVERIFY(widget);
    if (auto* grid = qobject_cast<QTableView*>(widget)) {
        QStringList titles;
        for (int column = 0; column < grid->model()->columnCount(); ++column)
            titles.append(grid->model()->headerData(column, Qt::Horizontal).toString());
        QCOMPARE(titles, captions);
    } else if (qobject_cast<QToolBar*>(widget)) {
        QStringList hints;
        for (const QAction* action : widget->actions())
            hints.append(action->toolTip());
        QCOMPARE(hints, captions);
    } else {
        QCOMPARE(Captions(widget->actions()), captions);
    }
}

void TestMainWindow::captionShortcutAndSeparator() {
    Fixture fixture;
    QCOMPARE(fixture.form->windowTitle(), QStringLiteral("eOutletGuard Finder"));
    QCOMPARE(fixture.Entry(QStringLiteral("ScanMenu"))->shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+S")), QKeySequence(Qt::Key_F5)}));
    // The variant hides this separator together with Options, so it must be the one just above Options.
    const QList<QAction*> file = fixture.form->findChild<QMenu*>(QStringLiteral("FileMenu"))->actions();
    const qsizetype options = file.indexOf(fixture.Entry(QStringLiteral("Options")));
    QCOMPARE(file.at(options - 1), fixture.Entry(QStringLiteral("N4")));
    QVERIFY(fixture.Entry(QStringLiteral("N4"))->isSeparator());
    QCOMPARE(fixture.grid->horizontalHeader()->sectionSize(0), 150);
    QCOMPARE(fixture.grid->horizontalHeader()->sectionSize(1), 160);
}

void TestMainWindow::enablement_data() {
    QTest::addColumn<QString>("moment");
    QTest::addColumn<QStringList>("disabled");
    QTest::addColumn<QStringList>("hidden");
    const QStringList adminEntries = Words("AdminButton AdminMenu AdminPopup");
    const QStringList deviceActions = Words("ConfigButton ConfigMenu HomeButton HomeMenu PrintButton "
                                            "LoadConfigMenu SaveConfigMenu AssignAddressesMenu "
                                            "UpgradeSelectedMenu");
    QTest::newRow("program start") << QStringLiteral("start") << deviceActions + adminEntries << adminEntries;
    QTest::newRow("scan start") << QStringLiteral("scan")
                                << deviceActions + Words("AdminButton AdminMenu UpgradeButton")
                                << Words("AdminButton AdminMenu");
    QTest::newRow("device with admin page")
        << QStringLiteral("admin device") << QStringList() << QStringList();
    QTest::newRow("device without admin page")
        << QStringLiteral("plain device") << adminEntries << adminEntries;
    QTest::newRow("device of unknown type")
        << QStringLiteral("unknown device") << adminEntries << adminEntries;
    // The actions act only on a device whose row the user sees selected.
    QTest::newRow("filter hides the device")
        << QStringLiteral("filtered admin device") << deviceActions + Words("AdminButton AdminMenu")
        << Words("AdminButton AdminMenu");
    QTest::newRow("row unselected") << QStringLiteral("unselected admin device")
                                    << deviceActions + Words("AdminButton AdminMenu")
                                    << Words("AdminButton AdminMenu");
}

void TestMainWindow::enablement() {
    QFETCH(QString, moment);
    QFETCH(QStringList, disabled);
    QFETCH(QStringList, hidden);
    Fixture fixture;
    if (moment == QLatin1String("scan")) {
        // Everything a device offered is withdrawn, the popup's Administration item apart.
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "a", Olg8w));
        fixture.form->Scan();
    } else if (moment.endsWith(QLatin1String("device"))) {
        const std::uint32_t type = moment.contains(QLatin1String("admin"))   ? Olg8w
                                   : moment.contains(QLatin1String("plain")) ? Olg1n
                                                                             : Unknown;
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "a", type));
        if (moment.startsWith(QLatin1String("filtered")))
            fixture.form->findChild<QLineEdit*>(QStringLiteral("FilterEdit"))->setText(QStringLiteral("zzz"));
        if (moment.startsWith(QLatin1String("unselected")))
            QTest::mouseClick(fixture.grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              fixture.grid->visualRect(fixture.grid->model()->index(0, 0)).center());
    }
    for (const QString& name : DeviceEntries + Words("AssignAddressesMenu UpgradeSelectedMenu")) {
        const QAction* entry = fixture.Entry(name);
        QVERIFY2(entry, qPrintable(name));
        QVERIFY2(entry->isEnabled() == !disabled.contains(name), qPrintable(name));
        QVERIFY2(entry->isVisible() == !hidden.contains(name), qPrintable(name));
    }
}

void TestMainWindow::scanSendsTenDiscoveries() {
    Fixture fixture;
    fixture.device.SetAnswers({FakeDevice::Reply(FakeDevice::Mac(0x000A959D6816), "one", Olg1n)});
    QSignalSpy progress(fixture.progress, &QProgressBar::valueChanged);
    QSignalSpy resets(fixture.grid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy firstRequest(&fixture.device, &FakeDevice::RequestReceived);
    QElapsedTimer clock;
    QList<qint64> arrivals;
    connect(&fixture.device, &FakeDevice::RequestReceived, this, [&] { arrivals.append(clock.elapsed()); });
    clock.start();

    fixture.Entry(QStringLiteral("ScanButton"))->trigger();
    QVERIFY(fixture.progress->isVisible());
    QVERIFY(firstRequest.wait(ScanBound));
    QTRY_VERIFY_WITH_TIMEOUT(!fixture.form->Devices().Empty(), ScanBound);
    // A second click during the scan neither empties the list nor sends more requests.
    fixture.Entry(QStringLiteral("ScanMenu"))->trigger();
    QCOMPARE(fixture.form->Devices().Size(), 1);
    QTRY_VERIFY_WITH_TIMEOUT(fixture.ScanOver(), ScanBound);

    const TSendBuf discovery = BuildDiscoveryRequest(DefaultDistributorCode);
    const QByteArray expected(reinterpret_cast<const char*>(discovery.data()),
                              static_cast<qsizetype>(discovery.size()));
    QCOMPARE(fixture.device.Requests().size(), 10);
    for (const QByteArray& request : fixture.device.Requests())
        QCOMPARE(request, expected);
    QList<int> positions;
    for (const QList<QVariant>& signal : progress)
        positions.append(signal.at(0).toInt());
    QCOMPARE(positions, (QList<int>{0, 10, 20, 30, 40, 50, 60, 70, 80, 90}));
    QCOMPARE(resets.size(), 1);
    // The ticks keep their period, never firing early (a few ms allowed for the delivery of the requests).
    QCOMPARE(arrivals.size(), 10);
    QVERIFY2(arrivals.last() - arrivals.first() >= 9 * 250 - 10,
             qPrintable(QStringLiteral("ten requests in %1 ms").arg(arrivals.last() - arrivals.first())));
}

void TestMainWindow::rowsFromReplies_data() {
    QTest::addColumn<QList<QByteArray>>("answers");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<int>("insertedRows");
    const DeviceIdentity a = FakeDevice::Mac(0x000A959D6816);
    const DeviceIdentity b = FakeDevice::Mac(0x0000000000B2);
    const DeviceIdentity c = FakeDevice::Mac(0xFFFFFFFFFFFE);
    QTest::newRow("three devices in order of first reply")
        << QList<QByteArray>{FakeDevice::Reply(b, "bee", Olg1n, "M1"),
                             FakeDevice::Reply(a, "ay", Olg8w, "M8"),
                             FakeDevice::Reply(c, "sea", Unknown, "M?")}
        << Texts({"bee|M1|127.0.0.2|00.00.00.00.00.B2", "ay|M8|127.0.0.2|00.0A.95.9D.68.16",
                  "sea|M?|127.0.0.2|FF.FF.FF.FF.FF.FE"})
        << 2;
    QTest::newRow("ten replies of one device, one row")
        << QList<QByteArray>{FakeDevice::Reply(a, "ay", Olg1n, "M1")}
        << Texts({"ay|M1|127.0.0.2|00.0A.95.9D.68.16"}) << 0;
    QTest::newRow("device texts are Windows-1252")
        << QList<QByteArray>{FakeDevice::Reply(a, "Caf\xe9 \x80 <b>x</b>", Olg1n, "\x93q\x94")}
        << QStringList{QStringLiteral(u"Café € <b>x</b>|“q”|127.0.0.2|00.0A.95.9D.68.16")} << 0;
    const DeviceIdentity broadcast{0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    const DeviceIdentity otherBroadcast{0x12, 0x34, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("all-FF sources dropped")
        << QList<QByteArray>{FakeDevice::Reply(broadcast, "x", Olg1n),
                             FakeDevice::Reply(otherBroadcast, "y", Olg1n)}
        << Texts({"|||"}) << 0;
    const DeviceIdentity addressForm{0x00, 0x02, 0x0A, 0x00, 0x00, 0x05, 0xCC, 0xA5};
    QTest::newRow("identity without a MAC")
        << QList<QByteArray>{FakeDevice::Reply(addressForm, "ip", Olg1n, "M1")}
        << Texts({"ip|M1|127.0.0.2|00.00.00.00.00.00"}) << 0;
    QTest::newRow("datagram shorter than a header dropped")
        << QList<QByteArray>{QByteArray(24, '\x01')} << Texts({"|||"}) << 0;
}

void TestMainWindow::rowsFromReplies() {
    QFETCH(QList<QByteArray>, answers);
    QFETCH(QStringList, rows);
    QFETCH(int, insertedRows);
    Fixture fixture;
    fixture.device.SetAnswers(answers);
    QSignalSpy resets(fixture.grid->model(), &QAbstractItemModel::modelReset);
    QSignalSpy inserted(fixture.grid->model(), &QAbstractItemModel::rowsInserted);
    fixture.form->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(fixture.ScanOver(), ScanBound);
    QCOMPARE(fixture.device.Requests().size(), 10);
    QCOMPARE(fixture.Rows(), rows);
    // The interface a device answered on is told by the last line of its row's tooltip, after any address
    // conflict (the fake device answers for all from one address); the empty row has none.
    const QString tip = fixture.grid->model()->index(0, 0).data(Qt::ToolTipRole).toString();
    QCOMPARE(tip.section(QLatin1Char('\n'), -1), rows.front() == QLatin1String("|||")
                                                     ? QString()
                                                     : QStringLiteral("Answers on network interface lo"));
    // Rows are added one at a time and refreshed in place: the grid is reset only when the scan starts.
    QCOMPARE(resets.size(), 1);
    QCOMPARE(inserted.size(), insertedRows);
}

void TestMainWindow::lateRepliesAfterScan() {
    Fixture fixture;
    fixture.device.SetAnswers({FakeDevice::Reply(FakeDevice::Mac(0xA1), "first name", Olg1n, "M1")});
    fixture.form->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(fixture.ScanOver(), ScanBound);
    fixture.device.SendTo(fixture.ExchangePort(),
                          FakeDevice::Reply(FakeDevice::Mac(0xB2), "new", Olg8w, "M8"));
    fixture.device.SendTo(fixture.ExchangePort(),
                          FakeDevice::Reply(FakeDevice::Mac(0xA1), "renamed", Olg1n, "M1"));
    const QStringList expected =
        Texts({"renamed|M1|127.0.0.2|00.00.00.00.00.A1", "new|M8|127.0.0.2|00.00.00.00.00.B2"});
    QTRY_COMPARE_WITH_TIMEOUT(fixture.Rows(), expected, ScanBound);
}

void TestMainWindow::floodOfReplies() {
    Fixture fixture;
    constexpr int capacity = 300;
    fixture.form->Devices().SetCapacity(capacity);
    QSignalSpy progress(fixture.progress, &QProgressBar::valueChanged);
    // Replies from ever new devices that never stop coming: the scan must keep its pace all the same.
    olg::testing::StreamingPeer flood(fixture.ExchangePort());
    QElapsedTimer clock;
    clock.start();
    fixture.form->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(fixture.ScanOver(), ScanBound);
    const qint64 ms = clock.elapsed();
    QVERIFY2(ms < 3500, qPrintable(QStringLiteral("the scan took %1 ms").arg(ms)));
    QCOMPARE(progress.size(), 10);
    QCOMPARE(fixture.device.Requests().size(), 10);

    // The list stops at its bound, and the user is told once.
    QTest::qWait(300);
    QVERIFY(flood.Sent() > 10 * capacity);
    QCOMPARE(fixture.form->Devices().Size(), capacity);
    QCOMPARE(fixture.grid->model()->rowCount(), capacity);
    QCOMPARE(fixture.prompts.warnings, QStringList{IgnoredDevicesWarning(capacity)});
}

void TestMainWindow::adminEntriesFollowSelection_data() {
    QTest::addColumn<quint32>("first");
    QTest::addColumn<quint32>("second");
    QTest::addColumn<bool>("shownOnFirst");
    QTest::addColumn<bool>("shownOnSecond");
    QTest::newRow("admin page, then none") << Olg8w << Olg1n << true << false;
    QTest::newRow("none, then admin page") << Olg1n << Olg8w << false << true;
    QTest::newRow("admin page, then unknown type keeps them") << Olg8w << Unknown << true << true;
    QTest::newRow("none, then unknown type keeps them hidden") << Olg1n << Unknown << false << false;
    QTest::newRow("every olg8w code") << 0x04030200u << 0x08030000u << true << true;
}

void TestMainWindow::adminEntriesFollowSelection() {
    QFETCH(quint32, first);
    QFETCH(quint32, second);
    QFETCH(bool, shownOnFirst);
    QFETCH(bool, shownOnSecond);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "first", first));
    fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(2), "second", second));
    const auto check = [&](bool shown) {
        for (const char* name : {"AdminButton", "AdminMenu", "AdminPopup"}) {
            const QAction* entry = fixture.Entry(QLatin1String(name));
            QVERIFY2(entry->isVisible() == shown && entry->isEnabled() == shown, name);
        }
    };
    fixture.Click(0);
    QCOMPARE(fixture.form->SelectedDevice(), 0);
    check(shownOnFirst);
    fixture.Click(1);
    QCOMPARE(fixture.form->SelectedDevice(), 1);
    check(shownOnSecond);
}

void TestMainWindow::popupRules_data() {
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("selectedBefore");
    QTest::addColumn<int>("row"); // -1: below the last row
    QTest::addColumn<bool>("opens");
    QTest::addColumn<int>("selectedAfter");
    QTest::newRow("empty list") << 0 << 0 << 0 << false << 0;
    QTest::newRow("below the rows") << 2 << 1 << -1 << false << 1;
    QTest::newRow("device row selects it first") << 2 << 0 << 1 << true << 1;
    QTest::newRow("first device row") << 2 << 1 << 0 << true << 0;
}

void TestMainWindow::popupRules() {
    QFETCH(int, devices);
    QFETCH(int, selectedBefore);
    QFETCH(int, row);
    QFETCH(bool, opens);
    QFETCH(int, selectedAfter);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    for (int i = 0; i < devices; ++i)
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(static_cast<std::uint64_t>(i + 1)), "d", Olg1n));
    fixture.Click(selectedBefore);
    const QPoint position = row < 0 ? QPoint(10, fixture.grid->viewport()->height() - 2)
                                    : fixture.grid->visualRect(fixture.grid->model()->index(row, 2)).center();
    QCOMPARE(!fixture.form->StringGridContextPopup(position), opens);
    QCOMPARE(fixture.form->SelectedDevice(), selectedAfter);
}

void TestMainWindow::titleRowOpensNoPopup() {
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "d", Olg1n));
    QSignalSpy requested(fixture.grid, &QWidget::customContextMenuRequested);
    QHeaderView* titles = fixture.grid->horizontalHeader();
    const QPoint inTitle(20, titles->height() / 2);
    QContextMenuEvent onTitle(QContextMenuEvent::Mouse, inTitle, titles->viewport()->mapToGlobal(inTitle));
    QCoreApplication::sendEvent(titles->viewport(), &onTitle);
    QCOMPARE(requested.size(), 0);
    // The same event on a device row does reach the grid, so the check above means something.
    const QPoint inRow = fixture.grid->visualRect(fixture.grid->model()->index(0, 0)).center();
    QContextMenuEvent onRow(QContextMenuEvent::Mouse, inRow, fixture.grid->viewport()->mapToGlobal(inRow));
    QCoreApplication::sendEvent(fixture.grid->viewport(), &onRow);
    QCOMPARE(requested.size(), 1);
    fixture.form->findChild<QMenu*>(QStringLiteral("GridPopup"))->close();
}

void TestMainWindow::doubleClickRunsHome_data() {
    QTest::addColumn<int>("devices");
    QTest::addColumn<int>("row"); // -1: below the last row
    QTest::newRow("device row") << 2 << 1;
    QTest::newRow("below the rows") << 2 << -1;
    QTest::newRow("empty list") << 0 << -1;
}

void TestMainWindow::doubleClickRunsHome() {
    QFETCH(int, devices);
    QFETCH(int, row);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    for (int i = 0; i < devices; ++i)
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(static_cast<std::uint64_t>(i + 1)), "d", Olg8w));
    QSignalSpy home(fixture.form.get(), &TFormMain::GridDoubleClicked);
    const QPoint position = row < 0 ? QPoint(10, fixture.grid->viewport()->height() - 2)
                                    : fixture.grid->visualRect(fixture.grid->model()->index(row, 1)).center();
    QTest::mouseDClick(fixture.grid->viewport(), Qt::LeftButton, {}, position);
    QCOMPARE(home.size(), 1);
    QCOMPARE(fixture.form->SelectedDevice(), row < 0 ? 0 : row);
}

void TestMainWindow::selectionFollowsDevice_data() {
    QTest::addColumn<int>("sortColumn"); // -1: the order of first replies
    QTest::addColumn<QList<int>>("answerAgain");
    QTest::addColumn<QString>("selectedAfter");
    QTest::newRow("same device, answering last") << -1 << QList<int>{3, 1, 2} << QStringLiteral("b");
    QTest::newRow("sorted by name") << 0 << QList<int>{3, 2, 1} << QStringLiteral("b");
    QTest::newRow("device gone: first row") << 0 << QList<int>{1, 3} << QStringLiteral("a");
}

void TestMainWindow::selectionFollowsDevice() {
    QFETCH(int, sortColumn);
    QFETCH(QList<int>, answerAgain);
    QFETCH(QString, selectedAfter);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    const char* names[] = {"", "c", "b", "a"};
    const auto reply = [&](int mac) {
        return FakeDevice::Reply(FakeDevice::Mac(static_cast<std::uint64_t>(mac)), names[mac], Olg1n);
    };
    for (int mac : {1, 2, 3})
        fixture.Reply(reply(mac));
    if (sortColumn >= 0)
        fixture.form->SortClick(sortColumn);
    fixture.Click(static_cast<int>(
        fixture.Rows().indexOf(QStringLiteral("b|eOutletGuard|127.0.0.9|00.00.00.00.00.02"))));
    QList<QByteArray> answers;
    for (int mac : answerAgain)
        answers.append(reply(mac));
    fixture.device.SetAnswers(answers);
    // A new scan, as after OK or a loaded configuration.
    fixture.form->Scan();
    QTRY_VERIFY_WITH_TIMEOUT(fixture.ScanOver(), ScanBound);
    const QModelIndexList selected = fixture.grid->selectionModel()->selectedRows();
    QCOMPARE(selected.size(), 1);
    QCOMPARE(selected.front().data().toString(), selectedAfter);
    QCOMPARE(fixture.Entry(QStringLiteral("ConfigButton"))->isEnabled(), true);
}

void TestMainWindow::lastColumnStretches_data() {
    QTest::addColumn<int>("windowWidth");
    QTest::addColumn<int>("widenFirstColumnBy");
    QTest::addColumn<bool>("fills");
    QTest::newRow("wide window") << 900 << 0 << true;
    QTest::newRow("wide window, first column widened") << 900 << 120 << true;
    QTest::newRow("narrower than the data columns") << 300 << 0 << false;
    QTest::newRow("first column widened past the window") << 700 << 400 << false;
}

void TestMainWindow::lastColumnStretches() {
    QFETCH(int, windowWidth);
    QFETCH(int, widenFirstColumnBy);
    QFETCH(bool, fills);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    fixture.form->resize(windowWidth, 400);
    QHeaderView* columns = fixture.grid->horizontalHeader();
    columns->resizeSection(0, columns->sectionSize(0) + widenFirstColumnBy);
    if (fills) {
        // The last column ends exactly at the grid's right edge: no gap and no horizontal scroll bar.
        QTRY_COMPARE(columns->length(), fixture.grid->viewport()->width());
        QCOMPARE(fixture.grid->horizontalScrollBar()->maximum(), 0);
    } else {
        // The MAC column keeps its room, and the grid scrolls.
        QTRY_VERIFY(fixture.grid->horizontalScrollBar()->maximum() > 0);
        QVERIFY(columns->sectionSize(3) >=
                fixture.grid->fontMetrics().horizontalAdvance(QStringLiteral("DD.DD.DD.DD.DD.DD")));
    }
}

void TestMainWindow::configureDispatch_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<bool>("dialogRuns");
    QTest::addColumn<bool>("scansAgain");
    QTest::addColumn<QString>("filter");
    QTest::newRow("confirmed with OK") << Olg1n << true << true << true << QString();
    QTest::newRow("cancelled") << Olg1n << false << true << false << QString();
    QTest::newRow("unknown type") << Unknown << true << false << false << QString();
    QTest::newRow("another model's dialog") << Olg8w << true << true << true << QString();
    QTest::newRow("nothing listed") << 0u << true << false << false << QString();
    QTest::newRow("hidden by the filter") << Olg1n << true << false << false << QStringLiteral("zzz");
}

void TestMainWindow::configureDispatch() {
    QFETCH(quint32, type);
    QFETCH(bool, confirmed);
    QFETCH(bool, dialogRuns);
    QFETCH(bool, scansAgain);
    QFETCH(QString, filter);
    Fixture fixture;
    QList<int> runs;
    QWidget* owner = nullptr;
    const DialogFactory::Runner runner = [&](QWidget* dialogOwner, int selected, DialogFactory::Run) {
        owner = dialogOwner;
        runs.append(selected);
        return confirmed ? QDialog::Accepted : QDialog::Rejected;
    };
    // In place of the real dialogs, which would wait for a user.
    fixture.form->Dialogs().Register("olg1n", runner);
    fixture.form->Dialogs().Register("olg8w", runner);
    if (type != 0) {
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "a", Olg8w));
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(2), "b", type));
        fixture.Click(1);
        fixture.form->findChild<QLineEdit*>(QStringLiteral("FilterEdit"))->setText(filter);
    }
    fixture.Entry(QStringLiteral("ConfigPopup"))->trigger();
    QCOMPARE(runs, dialogRuns ? QList<int>{1} : QList<int>{});
    if (dialogRuns)
        QCOMPARE(owner, fixture.form.get());
    QCOMPARE(fixture.timer->isActive(), scansAgain);
    // What OK did, in the status bar.
    QCOMPARE(fixture.form->statusBar()->currentMessage(),
             scansAgain ? QStringLiteral("b: settings sent") : QString());
}

void TestMainWindow::upgradeOpensForSelection_data() {
    QTest::addColumn<bool>("listed");
    QTest::newRow("device listed") << true;
    QTest::newRow("nothing listed") << false;
}

void TestMainWindow::upgradeOpensForSelection() {
    QFETCH(bool, listed);
    Fixture fixture;
    if (listed) {
        fixture.Reply(FakeDevice::Reply(FakeDevice::Mac(1), "a", Olg8w));
        fixture.Click(0);
    }
    TUpgradeForm* form = fixture.form->UpgradeForm();
    QVERIFY(form);
    // The one dialog of the run keeps the file chosen last time.
    form->UpgradeFile()->setText(QStringLiteral("/tmp/kept.bin"));
    QString address;
    bool shown = false;
    QTimer::singleShot(0, form, [&] {
        shown = form->isVisible() && QApplication::activeModalWidget() == form;
        address = form->UpgradeIP()->Text();
        form->reject();
    });
    fixture.Entry(QStringLiteral("UpgradeButton"))->trigger();
    QVERIFY(shown);
    QCOMPARE(address, listed ? QStringLiteral("127.0.0.9") : QString());
    QCOMPARE(form->UpgradeFile()->text(), QStringLiteral("/tmp/kept.bin"));
    QCOMPARE(fixture.form->UpgradeForm(), form);
}

void TestMainWindow::portInUse() {
    QUdpSocket holder;
    QVERIFY(holder.bind(QHostAddress(QHostAddress::LocalHost), 0, QAbstractSocket::DontShareAddress));
    Fixture fixture(holder.localPort());
    QVERIFY(QTest::qWaitForWindowExposed(fixture.form.get()));
    const QString message =
        QStringLiteral("Connection Error: UDP port %1 is already in use by another program")
            .arg(holder.localPort());
    QTRY_COMPARE(fixture.prompts.errors, QStringList{message});
    fixture.Entry(QStringLiteral("ScanButton"))->trigger();
    QCOMPARE(fixture.prompts.errors, (QStringList{message, message}));
    QVERIFY(fixture.ScanOver());
    QCOMPARE(fixture.device.Requests().size(), 0);
}

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
