// How fast the upgrade's transfers are next to the standard clients, all on loopback against the same
// servers: a 4 MiB image put and read back by our TFTP client, by tftp-hpa's tftp and by atftp against one
// tftpd-hpa, and an FTP store by our client and by curl against one pyftpdlib. Prints each time (best and
// median of a few runs) and the ratios. Needs the Debian packages of scripts/debian-packages; tftpd-hpa runs
// as root.
//
// Usage: bench_transfer [RUNS]   (default 5)

#include "FtpServerScript.h"
#include "TIdFTP.h"
#include "TIdTrivialFTP.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <QUdpSocket>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <limits>
#include <vector>

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");
constexpr qsizetype ImageSize = 4 * 1024 * 1024;
// Each run of an outside client ends by itself within this time, or counts as failed.
constexpr int ToolTimeoutMs = 120000;

template <typename Socket> quint16 FreePort() {
    Socket socket;
    if constexpr (std::is_same_v<Socket, QTcpServer>) {
        socket.listen(QHostAddress(Loopback), 0);
        return socket.serverPort();
    } else {
        socket.bind(QHostAddress(Loopback), 0);
        return socket.localPort();
    }
}

// Whether a UDP socket is bound to this local port, by the system's table.
bool UdpPortBound(quint16 port) {
    QFile table(QStringLiteral("/proc/net/udp"));
    const QByteArray local = ":" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0') + " ";
    return table.open(QIODevice::ReadOnly) && table.readAll().contains(local);
}

bool RunTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(ToolTimeoutMs) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed: %s\n", qPrintable(program), process.readAll().constData());
        process.kill();
        return false;
    }
    return true;
}

// The best and the median time of a transfer in milliseconds; negative when one of its runs failed.
struct Timing {
    double Best = -1;
    double Median = -1;
};

// The transfers take turns, round after round, so that a busy moment of the machine does not fall on one
// alone.
std::vector<Timing> Measure(int runs, const std::vector<std::function<bool()>>& transfers) {
    std::vector<std::vector<double>> times(transfers.size());
    std::vector<bool> failed(transfers.size(), false);
    for (int round = 0; round < runs; ++round) {
        for (std::size_t i = 0; i < transfers.size(); ++i) {
            if (failed[i])
                continue;
            QElapsedTimer timer;
            timer.start();
            failed[i] = !transfers[i]();
            times[i].push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
        }
    }
    std::vector<Timing> timings(transfers.size());
    for (std::size_t i = 0; i < transfers.size(); ++i) {
        if (failed[i])
            continue;
        std::sort(times[i].begin(), times[i].end());
        const std::size_t n = times[i].size();
        timings[i] = {times[i].front(),
                      n % 2 ? times[i][n / 2] : (times[i][n / 2 - 1] + times[i][n / 2]) / 2};
    }
    return timings;
}

void PrintTime(const char* name, Timing timing) {
    if (timing.Best < 0)
        std::printf("  %-34s failed\n", name);
    else
        std::printf("  %-34s %8.1f ms  %7.1f MiB/s   median %8.1f ms\n", name, timing.Best,
                    (ImageSize / 1048576.0) / (timing.Best / 1000.0), timing.Median);
}

void PrintRatio(const char* name, Timing ours, Timing theirs) {
    if (ours.Best > 0 && theirs.Best > 0)
        std::printf("  %-34s %8.2f   median %5.2f\n", name, theirs.Best / ours.Best,
                    theirs.Median / ours.Median);
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int runs = std::max(1, QCoreApplication::arguments().value(1, QStringLiteral("5")).toInt());
    QTemporaryDir root;
    QTemporaryDir local;
    QByteArray image(ImageSize, '\0');
    QRandomGenerator::global()->fillRange(reinterpret_cast<quint32*>(image.data()), ImageSize / 4);
    const QString file = local.filePath(QStringLiteral("fw.rom.bin"));
    const QString back = local.filePath(QStringLiteral("back.bin"));
    {
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(image) != image.size())
            return 1;
        QFile map(root.filePath(QStringLiteral("map")));
        if (!map.open(QIODevice::WriteOnly) || map.write("r ^/?$ image.bin\n") < 0)
            return 1;
    }
    const auto same = [&] {
        QFile in(back);
        return in.open(QIODevice::ReadOnly) && in.readAll() == image;
    };

    std::printf(
        "TFTP: a 4 MiB image put and read back, against tftpd-hpa on loopback (best and median of %d)\n",
        runs);
    const quint16 tftpPort = FreePort<QUdpSocket>();
    QProcess tftpd;
    tftpd.start(QStringLiteral("/usr/sbin/in.tftpd"),
                {QStringLiteral("--foreground"), QStringLiteral("--listen"), QStringLiteral("--address"),
                 QStringLiteral("%1:%2").arg(Loopback).arg(tftpPort), QStringLiteral("--user"),
                 QStringLiteral("root"), QStringLiteral("--create"), QStringLiteral("--secure"),
                 QStringLiteral("--map-file"), root.filePath(QStringLiteral("map")), root.path()});
    if (!tftpd.waitForStarted()) {
        std::fprintf(stderr, "cannot start in.tftpd (install tftpd-hpa)\n");
        return 1;
    }
    QElapsedTimer starting;
    starting.start();
    while (!UdpPortBound(tftpPort) && starting.elapsed() < 5000)
        QThread::msleep(10);
    olg::TftpSettings settings;
    settings.Port = tftpPort;
    olg::TIdTrivialFTP client(settings);
    client.SetHost(Loopback);
    const QString port = QString::number(tftpPort);
    const std::vector<Timing> tftpTimes = Measure(
        runs, {[&] {
                   const bool done =
                       client.Put(file, QStringLiteral("/")) && client.Get(QStringLiteral("/"), back);
                   if (!done)
                       std::fprintf(stderr, "%s\n", qPrintable(client.ErrorText()));
                   return done && same();
               },
               [&] {
                   return RunTool(QStringLiteral("tftp"),
                                  {QStringLiteral("-m"), QStringLiteral("octet"), Loopback, port,
                                   QStringLiteral("-c"), QStringLiteral("put"), file, QStringLiteral("/")}) &&
                          RunTool(QStringLiteral("tftp"),
                                  {QStringLiteral("-m"), QStringLiteral("octet"), Loopback, port,
                                   QStringLiteral("-c"), QStringLiteral("get"), QStringLiteral("/"), back}) &&
                          same();
               },
               [&] {
                   const QStringList common{QStringLiteral("--option"), QStringLiteral("blksize 1500")};
                   return RunTool(QStringLiteral("atftp"),
                                  common + QStringList{QStringLiteral("-p"), QStringLiteral("-l"), file,
                                                       QStringLiteral("-r"), QStringLiteral("/"), Loopback,
                                                       port}) &&
                          RunTool(QStringLiteral("atftp"),
                                  common + QStringList{QStringLiteral("-g"), QStringLiteral("-l"), back,
                                                       QStringLiteral("-r"), QStringLiteral("/"), Loopback,
                                                       port}) &&
                          same();
               }});
    const Timing ours = tftpTimes[0];
    const Timing hpa = tftpTimes[1];
    const Timing atftp = tftpTimes[2];
    tftpd.kill();
    tftpd.waitForFinished();
    PrintTime("ours (block size 1500)", ours);
    PrintTime("tftp-hpa tftp (block size 512)", hpa);
    PrintTime("atftp (block size 1500)", atftp);
    std::printf("  ratios, their time / ours (target >= 1):\n");
    PrintRatio("tftp-hpa / ours", ours, hpa);
    PrintRatio("atftp / ours", ours, atftp);

    std::printf("FTP: a 4 MiB store in active mode, against pyftpdlib on loopback (best and median of %d)\n",
                runs);
    const quint16 ftpPort = FreePort<QTcpServer>();
    QProcess ftpd;
    ftpd.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"), QString::fromUtf8(olg::testing::FtpServerScript), root.path(),
                QString::number(ftpPort)});
    if (!ftpd.waitForStarted() || !ftpd.waitForReadyRead(10000)) {
        std::fprintf(stderr, "cannot start pyftpdlib (install python3-pyftpdlib)\n");
        return 1;
    }
    olg::FtpSettings ftpSettings;
    ftpSettings.Port = ftpPort;
    const auto stored = [&] {
        QFile in(root.filePath(QStringLiteral("rom.bin")));
        return in.open(QIODevice::ReadOnly) && in.readAll() == image;
    };
    const std::vector<Timing> ftpTimes = Measure(
        runs,
        {[&] {
             olg::TIdFTP ftp(ftpSettings);
             ftp.SetHost(Loopback);
             ftp.SetUser(QByteArray("\xA9quorbel"));
             const bool done = ftp.Connect() && ftp.Store(file, QStringLiteral("rom.bin"));
             if (!done)
                 std::fprintf(stderr, "%s\n", qPrintable(ftp.ErrorText()));
             ftp.Quit();
             return done && stored();
         },
         [&] {
             return RunTool(QStringLiteral("curl"),
                            {QStringLiteral("-s"), QStringLiteral("-S"), QStringLiteral("--ftp-port"),
                             QStringLiteral("-"), QStringLiteral("-T"), file,
                             QStringLiteral("ftp://%A9quorbel:@%1:%2/rom.bin").arg(Loopback).arg(ftpPort)}) &&
                    stored();
         }});
    const Timing ftpOurs = ftpTimes[0];
    const Timing curl = ftpTimes[1];
    ftpd.kill();
    ftpd.waitForFinished();
    PrintTime("ours", ftpOurs);
    PrintTime("curl -T", curl);
    std::printf("  ratio, curl's time / ours (target >= 0.9):\n");
    PrintRatio("curl / ours", ftpOurs, curl);
    return 0;
}
