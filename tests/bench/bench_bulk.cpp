// What working on several devices at once gains: a simulated fleet of 64 devices on loopback gets a 4 MiB
// firmware image (each device the way it asks: TFTP with its read-back, or FTP), then every device's
// configuration is saved, once with --jobs 1 and once with --jobs 8, by the real olgctl. Prints each time,
// the time of a scan alone (every olgctl run begins with one), and the ratios. Each run ends by itself.
//
// Usage: bench_bulk [DEVICES]   (default 64, at most 256)

#include "SimulatedLan.h"
#include "TestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTextStream>

namespace {

constexpr qsizetype ImageSize = 4 * 1024 * 1024;
constexpr int MaxFleet = 256;
// A sequential upgrade of the whole fleet takes minutes; a run that takes longer than this counts as failed.
constexpr int RunTimeoutMs = 30 * 60 * 1000;

struct Timed {
    double Seconds = 0;
    bool Succeeded = false;
};

Timed RunOlgctl(const olg::ExchangeSettings& settings, const QStringList& verb) {
    const QStringList arguments =
        QStringList{QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                    QStringLiteral("%1:%2").arg(settings.TargetAddress.toString()).arg(settings.TargetPort),
                    QStringLiteral("--quiet")} +
        verb;
    QElapsedTimer clock;
    clock.start();
    const olg::testing::ProgramResult result =
        olg::testing::RunProgram(QStringLiteral("olgctl"), arguments, RunTimeoutMs);
    Timed timed{static_cast<double>(clock.nsecsElapsed()) / 1e9, result.ExitCode == 0};
    if (!timed.Succeeded)
        QTextStream(stderr) << "olgctl " << verb.join(QLatin1Char(' ')) << " failed (" << result.ExitCode
                            << "):\n"
                            << result.Out.right(2000) << result.Err.right(2000) << Qt::endl;
    return timed;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int fleet = argc > 1 ? std::clamp(QString::fromLocal8Bit(argv[1]).toInt(), 2, MaxFleet) : 64;

    QTemporaryDir dir;
    // Named as both kinds of device take an image: "image.bin" suits the FTP ones too.
    QFile image(dir.filePath(QStringLiteral("image.bin")));
    QByteArray bytes(ImageSize, Qt::Uninitialized);
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    if (!dir.isValid() || !image.open(QIODevice::WriteOnly) || image.write(bytes) != bytes.size()) {
        out << "cannot write the image into a temporary folder" << Qt::endl;
        return 1;
    }
    image.close();

    olg::SimulatedLan lan;
    QString error;
    if (!lan.StartSimulator({QStringLiteral("--fleet"), QString::number(fleet)}, &error)) {
        out << "the simulator did not start: " << error << Qt::endl;
        return 1;
    }
    const olg::ExchangeSettings settings = lan.Settings();
    out << fleet << " simulated devices, a " << ImageSize / (1024 * 1024) << " MiB image" << Qt::endl;

    const Timed scan = RunOlgctl(settings, {QStringLiteral("scan")});
    out << QStringLiteral("scan alone: %1 s").arg(scan.Seconds, 0, 'f', 2) << Qt::endl;
    double totals[2] = {0, 0};
    bool succeeded = scan.Succeeded;
    const int jobs[2] = {1, 8};
    for (int run = 0; run < 2; ++run) {
        const QString jobsText = QString::number(jobs[run]);
        const QString folder = dir.filePath(QStringLiteral("saved-%1").arg(jobsText));
        QDir().mkpath(folder);
        const Timed upgrade =
            RunOlgctl(settings, {QStringLiteral("upgrade"), QStringLiteral("all"), image.fileName(),
                                 QStringLiteral("--yes"), QStringLiteral("--tftp-port"),
                                 QString::number(settings.TftpPort), QStringLiteral("--ftp-port"),
                                 QString::number(settings.FtpPort), QStringLiteral("--jobs"), jobsText});
        const Timed save = RunOlgctl(settings, {QStringLiteral("save"), QStringLiteral("all"), folder,
                                                QStringLiteral("--jobs"), jobsText});
        succeeded = succeeded && upgrade.Succeeded && save.Succeeded &&
                    QDir(folder).entryList(QDir::Files).size() == fleet;
        totals[run] = upgrade.Seconds + save.Seconds;
        out << QStringLiteral("--jobs %1: upgrade %2 s, save %3 s, together %4 s")
                   .arg(jobsText)
                   .arg(upgrade.Seconds, 0, 'f', 2)
                   .arg(save.Seconds, 0, 'f', 2)
                   .arg(totals[run], 0, 'f', 2)
            << Qt::endl;
    }
    const double workAlone[2] = {totals[0] - 2 * scan.Seconds, totals[1] - 2 * scan.Seconds};
    out << QStringLiteral("ratio --jobs 1 / --jobs 8: %1 (without the two scans: %2)")
               .arg(totals[0] / totals[1], 0, 'f', 2)
               .arg(workAlone[1] > 0 ? workAlone[0] / workAlone[1] : 0.0, 0, 'f', 2)
        << Qt::endl;
    if (!succeeded)
        out << "some run failed: the figures do not count" << Qt::endl;
    return succeeded ? 0 : 1;
}
