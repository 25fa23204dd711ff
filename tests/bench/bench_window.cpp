// How the main window copes with a large LAN: the real window (offscreen) scans a simulated fleet of N
// devices on loopback while a 10 ms repeating timer measures the longest gap between two turns of the event
// loop, once in the order of first replies and once sorted by IP address. Then the same under a flood: one
// peer on 127.0.0.2 streams replies from ever new identities, all from that one address, until the list is
// full (65,536 devices that all conflict with each other). Prints, per run, how many devices were listed,
// when the last row showed and the longest gap. Each run ends by itself; the exit code says whether every
// device was listed with no gap over 100 ms.
//
// Usage: bench_window [N...]   (default 1000 5000; at most 20000 devices per run)

#include "BenchFleets.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "StreamingPeer.h"
#include "TFormMain.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {

constexpr int MaxFleet = 20000;
constexpr int ProbeInterval = 10;
constexpr qint64 GapTarget = 100;
// A scan lasts about 2.5 s; the replies to its last broadcast follow.
constexpr int RunBound = 20000;
constexpr int SettleTime = 1000;

struct Figures {
    int Listed = 0;
    int Rows = 0;
    qint64 LastRowMs = -1;
    qint64 LongestGapMs = 0;
};

Figures Measure(olg::TFormMain& form, int fleet) {
    Figures figures;
    QTableView* grid = form.findChild<QTableView*>(QStringLiteral("StringGrid"));
    QTimer* scanTimer = form.findChild<QTimer*>(QStringLiteral("Timer"));
    QElapsedTimer clock;
    QElapsedTimer sinceProbe;
    QTimer probe;
    probe.setTimerType(Qt::PreciseTimer);
    probe.setInterval(ProbeInterval);
    QObject::connect(&probe, &QTimer::timeout,
                     [&] { figures.LongestGapMs = std::max(figures.LongestGapMs, sinceProbe.restart()); });
    const auto countRows = [&] {
        const int rows = grid->model()->rowCount();
        if (rows > figures.Rows && !form.Devices().Empty()) {
            figures.Rows = rows;
            figures.LastRowMs = clock.elapsed();
        }
    };
    const QMetaObject::Connection inserted =
        QObject::connect(grid->model(), &QAbstractItemModel::rowsInserted, countRows);
    const QMetaObject::Connection changed =
        QObject::connect(grid->model(), &QAbstractItemModel::dataChanged, countRows);

    clock.start();
    sinceProbe.start();
    probe.start();
    form.Scan();
    QElapsedTimer idle;
    idle.start();
    int seenRows = 0;
    // Until the scan is over, every device shows and no row came for a while, or the bound runs out.
    while (clock.elapsed() < RunBound) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, ProbeInterval);
        if (figures.Rows != seenRows) {
            seenRows = figures.Rows;
            idle.restart();
        }
        if (!scanTimer->isActive() && idle.elapsed() > SettleTime &&
            (seenRows >= fleet || idle.elapsed() > 3 * SettleTime))
            break;
    }
    probe.stop();
    QObject::disconnect(inserted);
    QObject::disconnect(changed);
    figures.Listed = form.Devices().Size();
    return figures;
}

// Scans with the window on these exchange settings; flood, when given, starts streaming to the window's
// port before the scan. Prints one line of figures.
bool RunOnce(const QString& what, const olg::ExchangeSettings& settings, int present, bool sorted, bool flood,
             QTextStream& out) {
    olg::testing::RecordingPrompts prompts;
    olg::TFormMain form(prompts, settings);
    form.show();
    // The list sorted by IP address while it fills: every new row is placed among the others.
    if (sorted)
        form.SortClick(olg::DeviceTableModel::AddressColumn);
    QCoreApplication::processEvents();
    std::unique_ptr<olg::testing::StreamingPeer> peer;
    if (flood)
        peer = std::make_unique<olg::testing::StreamingPeer>(form.Serveur().LocalPort());
    const Figures figures = Measure(form, present);
    const bool met =
        figures.Listed == present && figures.Rows == present && figures.LongestGapMs <= GapTarget;
    out << QStringLiteral("%1  %2  %3  %4  %5  %6  %7")
               .arg(what, 6)
               .arg(sorted ? QStringLiteral("by IP") : QStringLiteral("replies"), 7)
               .arg(QStringLiteral("%1/%2").arg(figures.Listed).arg(present), 14)
               .arg(figures.Rows, 6)
               .arg(figures.LastRowMs, 13)
               .arg(figures.LongestGapMs, 16)
               .arg(met ? QStringLiteral("met") : QStringLiteral("missed"))
        << Qt::endl;
    for (const QString& shown : prompts.errors)
        out << "        error shown: " << shown << Qt::endl;
    return met;
}

bool RunFleet(int fleet, bool sorted, QTextStream& out) {
    olg::SimulatedLan lan;
    QString error;
    if (!lan.StartSimulator({QStringLiteral("--fleet"), QString::number(fleet)}, &error)) {
        out << "N=" << fleet << ": the simulator did not start: " << error << Qt::endl;
        return false;
    }
    return RunOnce(QString::number(fleet), lan.Settings(), lan.DeviceCount(), sorted, false, out);
}

bool RunFlood(bool sorted, QTextStream& out) {
    olg::ExchangeSettings settings;
    settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
    settings.BindPort = 0;
    settings.TargetAddress = QHostAddress(QStringLiteral("127.0.0.2"));
    settings.TargetPort = 9; // nobody listens: the only replies are those of the flood
    return RunOnce(QStringLiteral("flood"), settings, olg::DeviceList::MaxDevices, sorted, true, out);
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTextStream out(stdout);
    const std::optional<QList<int>> fleets =
        olg::testing::BenchFleets("bench_window", MaxFleet, {1000, 5000}, out);
    if (!fleets)
        return 2;

    out << "     N    order  listed/present    rows  last row (ms)  longest gap (ms)  target" << Qt::endl;
    bool met = true;
    for (int fleet : *fleets) {
        for (bool sorted : {false, true})
            met = RunFleet(fleet, sorted, out) && met;
    }
    for (bool sorted : {false, true})
        met = RunFlood(sorted, out) && met;
    return met ? 0 : 1;
}
