#include "ScanCommand.h"

#include "ExitCode.h"
#include "ListWriter.h"
#include "ScanListing.h"

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

    ListWriter list(ScanListing::Columns());
    for (const TOLG& record : session_.Devices().Records())
        list.AddRow(ScanListing::Row(record));
    list.Write(session_.Out(), format);
    return ExitOk;
}

} // namespace olg::cli
