#pragma once

#include "Command.h"
#include "DeviceWatch.h"
#include "ScanListing.h"
#include "Session.h"

#include <QDateTime>

namespace olg::cli {

// olgctl watch: scans every few seconds and prints one line per event as it happens (a device appeared,
// changed its address, name or firmware, stopped answering two scans in a row, or came back), for
// monitoring and scripts. Ends on SIGINT or SIGTERM, or after a given number of scans.
class WatchCommand : public Command {
public:
    static constexpr int DefaultIntervalSeconds = 30;
    // Below the window's ten seconds, so that a script or a test sees a few scans quickly; a scan takes
    // 2.5 s, so at one second the scans follow each other without a pause.
    static constexpr int MinIntervalSeconds = 1;
    static constexpr int MaxIntervalSeconds = 3600;

    WatchCommand();

    QString FormatProblem(const QString& format) const override;
    int Run(Session& session) override;

private:
    void Print(const WatchEvent& event, const DeviceList& scanned, const ScanListing& listing,
               const QDateTime& time);

    Session* session_ = nullptr;
    DeviceWatch watch_;
    bool jsonLines_ = false;
};

} // namespace olg::cli
