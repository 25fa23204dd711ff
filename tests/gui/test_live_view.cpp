// The live view of the window, offscreen: background scans that keep the list and mark devices that
// appear, change, go offline and come back, and File > Forget Offline Devices.

#include "FakeDevice.h"
#include "RecordingPlatform.h"
#include "RecordingPrompts.h"
#include "TFormMain.h"

#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTest>

using namespace olg;
using olg::testing::FakeDevice;

class TestLiveView : public QObject {
    Q_OBJECT

private slots:
    void scans_data();
    void scans();
};

void TestLiveView::scans_data() {
    // Steps: "scan A B:name=Hall:ip=10.0.0.9" a background scan that devices A and B answer (B changed),
    // a minute after the one before; "rescan A" the same through the Scan button; "select B", "sort" (by
    // name), "filter TEXT", "forget". Rows as shown: name|IP|last seen, then "*" for bold, "-" for grey.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("tooltip"); // of the last row
    const auto steps = [](const char* text) { return QString::fromUtf8(text).split(QLatin1Char(';')); };
    QTest::newRow("appear: bold after the first scan")
        << steps("scan A B;scan A B C")
        << steps("Rack A|10.0.0.1|now;Rack B|10.0.0.2|now;Rack C|10.0.0.3|now*") << QStringLiteral("Rack A")
        << QStringLiteral("3 online, 0 offline") << QString();
    QTest::newRow("bold until selected")
        << steps("scan A;scan A B;select B") << steps("Rack A|10.0.0.1|now;Rack B|10.0.0.2|now")
        << QStringLiteral("Rack B") << QStringLiteral("2 online") << QString();
    QTest::newRow("change: what and when in the tooltip")
        << steps("scan A B;scan B:name=Hall:ip=10.0.0.9 A") << steps("Rack A|10.0.0.1|now;Hall|10.0.0.9|now")
        << QStringLiteral("Rack A") << QStringLiteral("2 online")
        << QStringLiteral("IP address 10.0.0.2 \u2192 10.0.0.9, name \"Rack B\" \u2192 \"Hall\"");
    QTest::newRow("offline after two silent scans, greyed")
        << steps("scan A B;scan A;scan A") << steps("Rack A|10.0.0.1|now;Rack B|10.0.0.2|2 min ago-")
        << QStringLiteral("Rack A") << QStringLiteral("1 online, 1 offline")
        << QStringLiteral("Not answering: last seen 2 min ago");
    QTest::newRow("one silent scan is no offline")
        << steps("scan A B;scan A") << steps("Rack A|10.0.0.1|now;Rack B|10.0.0.2|1 min ago")
        << QStringLiteral("Rack A") << QStringLiteral("2 online, 0 offline") << QString();
    QTest::newRow("back to normal") << steps("scan A B;scan A;scan A;scan B A")
                                    << steps("Rack A|10.0.0.1|now;Rack B|10.0.0.2|now")
                                    << QStringLiteral("Rack A") << QStringLiteral("2 online, 0 offline")
                                    << QString();
    QTest::newRow("forget keeps the selection")
        << steps("scan A B C;select C;scan A C;scan C A;forget")
        << steps("Rack A|10.0.0.1|now;Rack C|10.0.0.3|now") << QStringLiteral("Rack C")
        << QStringLiteral("2 online, 0 offline") << QString();
    QTest::newRow("forget the selected device")
        << steps("scan A B;select B;scan A;scan A;forget") << steps("Rack A|10.0.0.1|now")
        << QStringLiteral("Rack A") << QStringLiteral("1 online, 0 offline") << QString();
    QTest::newRow("selection, sort and filter survive")
        << steps("scan B A;sort;filter rack;select A;scan D:name=Lamp C B A:name=Rack-Z;scan D:name=Lamp C B "
                 "A:name=Rack-Z")
        << steps("Rack B|10.0.0.2|now;Rack C|10.0.0.3|now;Rack-Z|10.0.0.1|now") << QStringLiteral("Rack-Z")
        << QStringLiteral("4 online") << QStringLiteral("name \"Rack A\" \u2192 \"Rack-Z\"");
    QTest::newRow("a manual scan rebuilds the list")
        << steps("scan A B;scan A;scan A;rescan A") << steps("Rack A|10.0.0.1|now")
        << QStringLiteral("Rack A") << QStringLiteral("1 online, 0 offline") << QString();
}

void TestLiveView::scans() {
    QFETCH(QStringList, steps);
    QFETCH(QStringList, rows);
    QFETCH(QString, selected);
    QFETCH(QString, status);
    QFETCH(QString, tooltip);
    olg::testing::RecordingPlatform platform;
    olg::testing::RecordingPrompts prompts;
    ExchangeSettings settings;
    settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
    settings.TargetAddress = FakeDevice::Address();
    TFormMain form(platform, prompts, settings);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    qint64 now = 1700000000000;
    form.Live().SetClock([&now] { return now; });
    form.findChild<QAction*>(QStringLiteral("LastSeenMenu"))->trigger();
    auto* grid = form.findChild<QTableView*>(QStringLiteral("StringGrid"));

    for (const QString& step : steps) {
        const QString verb = step.section(QLatin1Char(' '), 0, 0);
        const QString rest = step.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("scan") || verb == QLatin1String("rescan")) {
            if (verb == QLatin1String("scan"))
                QVERIFY(form.BackgroundScan());
            else
                form.Scan();
            for (const QString& token : rest.split(QLatin1Char(' '))) {
                // Device X answers as "Rack X" from 10.0.0.n unless the token says otherwise.
                const QStringList parts = token.split(QLatin1Char(':'));
                const int n = parts[0].at(0).unicode() - 'A' + 1;
                QString name = QStringLiteral("Rack ") + parts[0];
                QString address = QStringLiteral("10.0.0.%1").arg(n);
                for (const QString& change : parts.mid(1))
                    (change.startsWith(QLatin1String("ip=")) ? address : name) =
                        change.section(QLatin1Char('='), 1);
                form.DeviceReply(address, 52389,
                                 FakeDevice::Reply(FakeDevice::Mac(static_cast<std::uint64_t>(n)),
                                                   name.toStdString(), 0x01010100),
                                 true);
            }
            now += 60000;
            // The scan's ticks at once, to its end.
            for (int tick = 0; tick <= TFormMain::DiscoveriesPerScan; ++tick)
                form.TimerTimer();
        } else if (verb == QLatin1String("select")) {
            const QModelIndexList found =
                grid->model()->match(grid->model()->index(0, 0), Qt::DisplayRole,
                                     QStringLiteral("Rack ") + rest, 1, Qt::MatchExactly);
            QVERIFY(!found.isEmpty());
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(found[0]).center());
        } else if (verb == QLatin1String("sort")) {
            form.SortClick(DeviceTableModel::NameColumn);
        } else if (verb == QLatin1String("filter")) {
            form.findChild<QLineEdit*>(QStringLiteral("FilterEdit"))->setText(rest);
        } else {
            QVERIFY(form.findChild<QAction*>(QStringLiteral("ForgetOfflineMenu"))->isEnabled());
            form.findChild<QAction*>(QStringLiteral("ForgetOfflineMenu"))->trigger();
        }
    }

    QStringList shown;
    const QAbstractItemModel* model = grid->model();
    for (int row = 0; row < model->rowCount(); ++row) {
        const QModelIndex name = model->index(row, DeviceTableModel::NameColumn);
        shown << name.data().toString() + QLatin1Char('|') +
                     model->index(row, DeviceTableModel::AddressColumn).data().toString() + QLatin1Char('|') +
                     model->index(row, DeviceTableModel::LastSeenColumn).data().toString() +
                     (name.data(Qt::FontRole).value<QFont>().bold() ? QStringLiteral("*") : QString()) +
                     (name.data(Qt::ForegroundRole).isValid() ? QStringLiteral("-") : QString());
    }
    QVERIFY2(shown == rows, qPrintable(shown.join(QLatin1Char(';'))));
    QCOMPARE(QString::fromStdString(form.Devices().At(form.SelectedDevice()).Value(7).AsText()), selected);
    QVERIFY(grid->selectionModel()->isRowSelected(
        grid->model()
            ->match(model->index(0, 0), Qt::DisplayRole, selected, 1, Qt::MatchExactly)
            .value(0)
            .row()));
    const QString statusText = form.findChild<QLabel*>(QStringLiteral("LiveStatus"))->text();
    QVERIFY2(statusText.contains(status), qPrintable(statusText));
    const QString tip = model->index(model->rowCount() - 1, 0).data(Qt::ToolTipRole).toString();
    QVERIFY2(tip.contains(tooltip) && tooltip.isEmpty() == tip.isEmpty(), qPrintable(tip));
}

QTEST_MAIN(TestLiveView)
#include "test_live_view.moc"
