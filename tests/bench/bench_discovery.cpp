// How a scan copes with a large LAN: a simulated fleet of N devices on loopback answers one scan made exactly
// as the desktop program makes it (the exchange, ten broadcasts, the device list merge). Prints, per N, how
// many devices were listed, when the last new one came, and what one merge costs. Each run ends by itself.
//
// Usage: bench_discovery [N...]   (default 100 1000 5000; at most 20000 devices per run)

#include "BenchFleets.h"
#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "Scanner.h"
#include "SimulatedLan.h"
#include "TServeur.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int MaxFleet = 20000;

class StreamPrompts : public olg::Prompts {
public:
    void ShowError(const QString& message) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(message));
    }
    void ShowWarning(const QString& message) override {
        std::fprintf(stderr, "warning: %s\n", qPrintable(message));
    }
};

// Datagrams the kernel dropped on this loopback UDP port because the socket's receive buffer was full.
qint64 KernelDrops(quint16 port) {
    QFile table(QStringLiteral("/proc/net/udp"));
    if (!table.open(QIODevice::ReadOnly))
        return -1;
    const QString local = QStringLiteral("0100007F:%1").arg(port, 4, 16, QLatin1Char('0')).toUpper();
    // Files under /proc report a size of 0, so read them whole rather than testing for their end.
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QStringList fields = QString::fromLatin1(line).simplified().split(QLatin1Char(' '));
        if (fields.size() > 12 && fields[1] == local)
            return fields.last().toLongLong();
    }
    return -1;
}

bool RunOnce(int fleet, const olg::DeviceRegistry& registry, QTextStream& out) {
    olg::SimulatedLan lan;
    QString error;
    if (!lan.StartSimulator({QStringLiteral("--fleet"), QString::number(fleet)}, &error)) {
        out << "N=" << fleet << ": the simulator did not start: " << error << Qt::endl;
        return false;
    }
    StreamPrompts prompts;
    olg::TServeur serveur(registry, prompts, lan.Settings());
    if (!serveur.BindError().isEmpty()) {
        out << "N=" << fleet << ": " << serveur.BindError() << Qt::endl;
        return false;
    }
    olg::DeviceList devices(registry);
    olg::cli::Scanner scanner(serveur, devices);
    scanner.Run();

    const qint64 datagrams = scanner.DatagramCount();
    const double mergeNs = datagrams > 0 ? double(scanner.MergeNanoseconds()) / double(datagrams) : 0.0;
    out << QStringLiteral("%1  %2  %3  %4  %5  %6")
               .arg(fleet, 6)
               .arg(QStringLiteral("%1/%2").arg(devices.Size()).arg(lan.DeviceCount()), 13)
               .arg(QStringLiteral("%1/%2").arg(datagrams).arg(qint64(lan.DeviceCount()) *
                                                               olg::cli::Scanner::Broadcasts),
                    15)
               .arg(static_cast<double>(scanner.LastNewDeviceNanoseconds()) / 1e6, 13, 'f', 1)
               .arg(mergeNs, 12, 'f', 0)
               .arg(KernelDrops(serveur.LocalPort()), 12)
        << Qt::endl;
    return devices.Size() == lan.DeviceCount();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication application(argc, argv);
    QTextStream out(stdout);
    const std::optional<QList<int>> fleets =
        olg::testing::BenchFleets("bench_discovery", MaxFleet, {100, 1000, 5000}, out);
    if (!fleets)
        return 2;

    const olg::DeviceRegistry registry = olg::StandardRegistry();
    out << "     N  listed/present  datagrams/sent  last new (ms)  merge (ns)  kernel drops" << Qt::endl;
    bool complete = true;
    for (int fleet : *fleets)
        complete = RunOnce(fleet, registry, out) && complete;
    return complete ? 0 : 1;
}
