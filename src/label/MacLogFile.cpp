#include "MacLogFile.h"

#include "Windows1252.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocale>
#include <QLockFile>
#include <QSaveFile>
#include <QThread>

namespace olg {

namespace {
constexpr unsigned long LockPollMs = 10;
} // namespace

MacLogFile::Result MacLogFile::Append(const QString& path, const MacLog::Entry& entry, QString* error,
                                      int lockWaitMs) {
    QLockFile lock(path + QStringLiteral(".lock"));
    // Another writer holds the log for a few milliseconds: look again soon rather than with the lock's own
    // growing pauses, which would keep a waiting window busy for seconds.
    const QDeadlineTimer deadline(lockWaitMs);
    while (!lock.tryLock(0) && lock.error() == QLockFile::LockFailedError && !deadline.hasExpired())
        QThread::msleep(LockPollMs);
    if (!lock.isLocked()) {
        *error = lock.error() == QLockFile::LockFailedError
                     ? QStringLiteral("The MAC log %1 is locked by another writer (%1.lock); nothing was "
                                      "logged")
                           .arg(path)
                     : QStringLiteral("The MAC log %1 cannot be locked: %1.lock cannot be written").arg(path);
        return Result::Failed;
    }
    std::vector<std::string> lines;
    QFile existing(path);
    if (existing.exists()) {
        if (!existing.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("The MAC log %1 cannot be read: %2").arg(path, existing.errorString());
            return Result::Failed;
        }
        const QByteArray bytes = existing.readAll();
        lines =
            MacLog::SplitLines(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    }
    if (!MacLog::Append(lines, entry))
        return Result::Duplicate;

    const std::string bytes = MacLog::JoinLines(lines);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) ||
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size()) ||
        !file.commit()) {
        *error = QStringLiteral("The MAC log %1 cannot be written: %2").arg(path, file.errorString());
        return Result::Failed;
    }
    return Result::Added;
}

std::string MacLogFile::DateTimeText(const QDateTime& moment) {
    const QLocale locale = QLocale::system();
    // The long time format brings the seconds, and a zone name the log has no room for.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    const QString text = locale.toString(moment.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         locale.toString(moment.time(), timeFormat.trimmed());
    if (std::optional<std::string> bytes = Utf8ToWindows1252(text.toStdString()))
        return *bytes;
    // A script the log's code page lacks: the ISO form says the same.
    return moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toStdString();
}

} // namespace olg
