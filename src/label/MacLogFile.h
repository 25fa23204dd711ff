#pragma once

#include "MacLog.h"

#include <QDateTime>
#include <QString>

namespace olg {

// The MAC log on disk: read whole, the entry added, written to a temporary file beside it and renamed over
// it, so that a failure never leaves half a log.
class MacLogFile {
public:
    enum class Result { Added, Duplicate, Failed };

    static Result Append(const QString& path, const MacLog::Entry& entry, QString* error);

    // Date, space, time, in the user's regional format, as bytes of the log.
    static std::string DateTimeText(const QDateTime& moment);
};

} // namespace olg
