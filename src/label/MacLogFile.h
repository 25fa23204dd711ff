#pragma once

#include "MacLog.h"

#include <QDateTime>
#include <QString>

namespace olg {

// The MAC log on disk: read whole, the entry added, written to a temporary file beside it and renamed over
// it, so that a failure never leaves half a log. The window and olgctl may both be labelling into one log:
// a lock file beside it ("<log>.lock") keeps the read, the check and the rewrite of one writer whole.
class MacLogFile {
public:
    enum class Result { Added, Duplicate, Failed };
    // How long a writer waits for another one to finish before it gives up.
    static constexpr int LockWaitMs = 5000;

    static Result Append(const QString& path, const MacLog::Entry& entry, QString* error,
                         int lockWaitMs = LockWaitMs);

    // Date, space, time, in the user's regional format, as bytes of the log.
    static std::string DateTimeText(const QDateTime& moment);
};

} // namespace olg
