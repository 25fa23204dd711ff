#include "ScanCommand.h"

#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
#include "ScanListing.h"

#include <algorithm>

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl scan [--format table|csv|json]

Sends ten discovery broadcasts, 250 ms apart, and lists every device that answers, in the order of their
first replies: name, type, the IP address the reply came from, MAC address, type code, firmware version, the
network interface the reply came in on, and the MACs of the other devices that answer from the same address on
that interface (a conflict, also told on the error stream).
At most 65536 devices are listed; a warning says when further devices were ignored.

  --format FORMAT  table (default), csv or json
)";

} // namespace

std::unique_ptr<Command> MakeScanCommand() {
    return std::make_unique<ScanCommand>();
}

ScanCommand::ScanCommand()
    : Command(QStringLiteral("scan"), QStringLiteral("list the devices that answer a scan"),
              QString::fromUtf8(HelpText), {FormatOption()}) {}

int ScanCommand::Run(Session& session) {
    session_ = &session;
    if (!Words().isEmpty()) {
        session_->Prompts().ShowError(QStringLiteral("scan takes no arguments (try olgctl scan --help)"));
        return ExitUsage;
    }
    const OutputFormat format = Format();
    if (!session_->Scan())
        return ExitFailure;

    const DeviceList& devices = session_->Devices();
    const ScanListing listing(devices);
    ListWriter list(ScanListing::Columns());
    for (int device = 0; device < devices.Size(); ++device)
        list.AddRow(listing.Row(device));
    list.Write(session_->Out(), format);
    // On the error stream too, so that a script that only looks at the exit code and stderr sees it.
    for (const std::vector<int>& group : listing.Conflicts().Groups) {
        const TOLG& first = devices.At(group.front());
        const auto named = static_cast<std::ptrdiff_t>(std::min(group.size() - 1, ScanListing::NamedMacs));
        const QString macs =
            QString::fromStdString(FormatMac(".", first.Mac)) + QLatin1Char(' ') +
            listing.MacList(std::vector<int>(group.begin() + 1, group.begin() + 1 + named), group.size() - 1);
        session_->Prompts().ShowWarning(
            QStringLiteral("%1 devices answer from %2%3: %4")
                .arg(group.size())
                .arg(QString::fromStdString(first.SenderAddress),
                     first.Interface.empty()
                         ? QString()
                         : QStringLiteral(" on ") + QString::fromStdString(first.Interface),
                     macs));
    }
    return ExitOk;
}

} // namespace olg::cli
