#include "ScanCommand.h"

#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
#include "ScanListing.h"

#include <algorithm>

namespace olg::cli {

int ScanCommand::Run(const Invocation& invocation) {
    if (!invocation.Arguments.isEmpty()) {
        session_.Prompts().ShowError(QStringLiteral("scan takes no arguments (try olgctl scan --help)"));
        return ExitUsage;
    }
    const OutputFormat format =
        ParseOutputFormat(invocation.Format.value_or(QStringLiteral("table"))).value();
    if (!session_.Scan())
        return ExitFailure;

    const DeviceList& devices = session_.Devices();
    const ScanListing listing(devices);
    ListWriter list(ScanListing::Columns());
    for (int device = 0; device < devices.Size(); ++device)
        list.AddRow(listing.Row(device));
    list.Write(session_.Out(), format);
    // On the error stream too, so that a script that only looks at the exit code and stderr sees it.
    for (const std::vector<int>& group : listing.Conflicts().Groups) {
        const TOLG& first = devices.At(group.front());
        const auto named = static_cast<std::ptrdiff_t>(std::min(group.size() - 1, ScanListing::NamedMacs));
        const QString macs =
            QString::fromStdString(FormatMac(".", first.Mac)) + QLatin1Char(' ') +
            listing.MacList(std::vector<int>(group.begin() + 1, group.begin() + 1 + named), group.size() - 1);
        session_.Prompts().ShowWarning(
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
