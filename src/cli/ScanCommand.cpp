#include "ScanCommand.h"

#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

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

    ListWriter list({{QStringLiteral("Name"), QStringLiteral("name")},
                     {QStringLiteral("Type"), QStringLiteral("type")},
                     {QStringLiteral("IP Address"), QStringLiteral("ip")},
                     {QStringLiteral("MAC Address"), QStringLiteral("mac")},
                     {QStringLiteral("Type code"), QStringLiteral("typeCode")},
                     {QStringLiteral("Firmware"), QStringLiteral("firmware")}});
    for (const TOLG& record : session_.Devices().Records()) {
        const ParamValue& type = record.Value(13);
        list.AddRow({FormatParamValue(KindText, record.Value(7)), FormatParamValue(KindText, record.Value(5)),
                     QString::fromStdString(record.SenderAddress),
                     QString::fromStdString(FormatMac(".", record.Mac)),
                     type.IsEmpty() ? QString()
                                    : QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(type.AsInteger()),
                                                                 8, 16, QLatin1Char('0')),
                     FormatParamValue(KindText, record.Value(12))});
    }
    list.Write(session_.Out(), format);
    return ExitOk;
}

} // namespace olg::cli
