#pragma once

#include "Session.h"

#include <QList>
#include <QString>

#include <functional>

namespace olg::cli {

// One verb run on several devices after a single scan, one after the other: a result line per device, a
// summary, and failure when any device failed. A device that fails does not stop the others.
class BulkRun {
public:
    explicit BulkRun(Session& session) : session_(session) {}

    // Asks the question first when asked to and more than one device is selected; "no" does nothing.
    // done names what happened to a device that succeeded ("written"). Returns the exit code.
    int Run(const QList<int>& devices, const QString& question, const QString& done,
            const std::function<int(int device)>& one);

private:
    Session& session_;
};

} // namespace olg::cli
