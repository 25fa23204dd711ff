#include "ScanCommand.h"

#include "AddressConflicts.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

namespace olg::cli {

namespace {

// The MACs of the other devices on the same address; a few, and how many more.
QString ConflictText(const std::vector<int>& others, const DeviceList& devices) {
    constexpr std::size_t Named = 3;
    QStringList macs;
    for (std::size_t i = 0; i < others.size() && i < Named; ++i)
        macs.append(QString::fromStdString(FormatMac(".", devices.At(others[i]).Mac)));
    if (others.size() > Named)
        macs.append(QStringLiteral("%1 more").arg(others.size() - Named));
    return macs.join(QStringLiteral(" "));
}

} // namespace

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
                     {QStringLiteral("Firmware"), QStringLiteral("firmware")},
                     {QStringLiteral("Interface"), QStringLiteral("interface")},
                     {QStringLiteral("Conflict"), QStringLiteral("conflict")}});
    const DeviceList& devices = session_.Devices();
    const AddressConflicts conflicts = FindAddressConflicts(devices);
    for (int device = 0; device < devices.Size(); ++device) {
        const TOLG& record = devices.At(device);
        const ParamValue& type = record.Value(13);
        list.AddRow({FormatParamValue(KindText, record.Value(7)), FormatParamValue(KindText, record.Value(5)),
                     QString::fromStdString(record.SenderAddress),
                     QString::fromStdString(FormatMac(".", record.Mac)),
                     type.IsEmpty() ? QString()
                                    : QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(type.AsInteger()),
                                                                 8, 16, QLatin1Char('0')),
                     FormatParamValue(KindText, record.Value(12)), QString::fromStdString(record.Interface),
                     ConflictText(conflicts.Others(device), devices)});
    }
    list.Write(session_.Out(), format);
    // On the error stream too, so that a script that only looks at the exit code and stderr sees it.
    for (const std::vector<int>& group : conflicts.Groups) {
        const TOLG& first = devices.At(group.front());
        const QString macs = QString::fromStdString(FormatMac(".", first.Mac)) + QLatin1Char(' ') +
                             ConflictText(std::vector<int>(group.begin() + 1, group.end()), devices);
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
