#include "ProcSystemInformation.h"

#include <QFile>
#include <QSysInfo>
#include <QThread>

namespace olg {

namespace {

// The value of the first "key : value" line of a /proc file with this key, or an empty text.
QString ProcValue(const QString& file, const QString& key) {
    QFile proc(file);
    if (!proc.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    // A /proc file reports the size 0, so it seems to be at its end before the first read: read until a
    // read returns nothing, bounded.
    for (int line = 0; line < 10000; ++line) {
        const QByteArray bytes = proc.readLine();
        if (bytes.isEmpty())
            break;
        const QString text = QString::fromUtf8(bytes);
        const qsizetype colon = text.indexOf(QLatin1Char(':'));
        if (colon > 0 && text.left(colon).trimmed() == key)
            return text.mid(colon + 1).trimmed();
    }
    return {};
}

} // namespace

qint64 ProcSystemInformation::TotalMemoryKB() {
    // "MemTotal:       16314828 kB"
    return ProcValue(QStringLiteral("/proc/meminfo"), QStringLiteral("MemTotal"))
        .section(QLatin1Char(' '), 0, 0)
        .toLongLong();
}

int ProcSystemInformation::ProcessorCount() {
    return QThread::idealThreadCount();
}

QString ProcSystemInformation::ProcessorName() {
    const QString name = ProcValue(QStringLiteral("/proc/cpuinfo"), QStringLiteral("model name"));
    return name.isEmpty() ? QSysInfo::currentCpuArchitecture() : name.simplified();
}

} // namespace olg
