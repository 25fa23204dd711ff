#pragma once

#include "Session.h"

#include <QList>
#include <QString>

#include <functional>

namespace olg::cli {

// One verb run on several devices after a single scan, up to a number of them at once: a result line per
// device, a summary, and failure when any device failed. A device that fails does not stop the others.
// With more than one job, each device is worked on by a session of its own on a worker thread (see Session),
// whose output is printed whole when the device is done, so that the lines of two devices never mix.
class BulkRun {
public:
    // The work on one device: the session to use and the device's index in its list. It uses nothing else
    // of the scan, since with several jobs it runs on a copy of the device's record.
    using Work = std::function<int(Session& session, int device)>;

    BulkRun(Session& session, int jobs) : session_(session), jobs_(jobs) {}

    // Asks the question first when asked to and more than one device is selected; "no" does nothing.
    // done names what happened to a device that succeeded ("written"). Returns the exit code.
    int Run(const QList<int>& devices, const QString& question, const QString& done, const Work& one);
    // The same with a summary line of the verb's own, made from the count of devices that failed.
    int Run(const QList<int>& devices, const QString& question,
            const std::function<QString(int failed)>& summary, const Work& one);

    // What became of one device.
    struct Outcome {
        int Code = 0;
        // The latest message shown while the device was worked on, or empty.
        QString LastMessage;
    };
    // Works on every device without a result line or summary; after(device, outcome) runs on this thread as
    // each one is done, its output printed and its record in the list brought up to date.
    void ForEach(const QList<int>& devices, const Work& one,
                 const std::function<void(int device, const Outcome& outcome)>& after);

private:
    Session& session_;
    int jobs_;
};

} // namespace olg::cli
