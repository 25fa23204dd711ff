// What a large configuration file costs: a file of the given size (16 MB by default, about the largest a load
// takes), made of millions of short lines before the keys that count, is loaded into a device record and then
// has that record saved into it. Prints the time of each step and the process's peak memory after it.
//
// Usage: bench_config_file [MEGABYTES]

#include "ConfigFileStore.h"
#include "DeviceRegistry.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <sys/resource.h>

#include <cstdio>

namespace {

long PeakKilobytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const qint64 megabytes = argc > 1 ? QByteArray(argv[1]).toLongLong() : 16;
    if (megabytes < 1 || megabytes > 16) {
        std::fprintf(stderr, "usage: bench_config_file [MEGABYTES from 1 to 16]\n");
        return 2;
    }
    const qint64 size = megabytes * 1024 * 1024 - 4096;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("large.cfg"));
    // Written in pieces, so that making the file does not set the peak.
    qint64 lines = 0;
    {
        QFile file(path);
        bool written = file.open(QIODevice::WriteOnly) && file.write("[olg8a]\r\n13=134217984\r\n") > 0;
        QByteArray piece;
        for (int i = 0; i < 4096; ++i)
            piece += "k=1\r\n";
        while (written && file.size() < size) {
            written = file.write(piece) == piece.size();
            lines += 4096;
        }
        if (!written || file.write("7=Hall\r\n2=10.0.0.2\r\n") < 0) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
    }
    const long before = PeakKilobytes();
    std::printf("file: %lld bytes, %lld lines; peak before: %ld KB\n",
                static_cast<long long>(QFile(path).size()), static_cast<long long>(lines), before);

    const olg::DeviceRegistry registry = olg::StandardRegistry();
    olg::TOLG record;
    record.SetValue(5, olg::ParamValue::Text("olg8a"));
    record.SetValue(13, olg::ParamValue::Integer(0x08000100));
    const olg::ConfigFileStore store(registry);
    QString error;
    QElapsedTimer timer;
    timer.start();
    const auto loaded = store.Load(path, record, olg::ConfigProfile::Check::Review, &error);
    std::printf("load: %s in %lld ms; peak: %ld KB\n",
                loaded == olg::ConfigFileStore::LoadResult::Loaded ? "loaded" : qPrintable(error),
                static_cast<long long>(timer.elapsed()), PeakKilobytes());
    timer.restart();
    const bool saved = store.Save(path, record, &error);
    std::printf("save: %s in %lld ms; peak: %ld KB\n", saved ? "saved" : qPrintable(error),
                static_cast<long long>(timer.elapsed()), PeakKilobytes());
    return loaded == olg::ConfigFileStore::LoadResult::Loaded && saved ? 0 : 1;
}
