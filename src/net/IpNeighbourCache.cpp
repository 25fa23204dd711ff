#include "IpNeighbourCache.h"

#include <QDeadlineTimer>
#include <QHostAddress>
#include <QProcess>
#include <QStandardPaths>

namespace olg {

void IpNeighbourCache::DropEntry(const QString& address) {
    // Only a well-formed IPv4 address ever reaches the command line.
    const QHostAddress host(address);
    if (host.protocol() != QAbstractSocket::IPv4Protocol)
        return;
    // The tool often lives in a folder that a user's PATH leaves out.
    QString program = QStandardPaths::findExecutable(QStringLiteral("ip"));
    if (program.isEmpty())
        program = QStandardPaths::findExecutable(QStringLiteral("ip"),
                                                 {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin"),
                                                  QStringLiteral("/usr/bin"), QStringLiteral("/bin")});
    if (program.isEmpty())
        return;

    const QDeadlineTimer deadline(timeLimitMs_);
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.setStandardInputFile(QProcess::nullDevice());
    process.start(program,
                  {QStringLiteral("neigh"), QStringLiteral("flush"), QStringLiteral("to"), host.toString()});
    if (!process.waitForStarted(static_cast<int>(deadline.remainingTime())))
        return;
    if (!process.waitForFinished(static_cast<int>(deadline.remainingTime()))) {
        process.kill();
        process.waitForFinished(timeLimitMs_);
    }
}

} // namespace olg
