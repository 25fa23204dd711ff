#include "ReadCommand.h"

#include "ErrorBox.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

namespace olg::cli {

namespace {

QString AccessName(std::uint8_t access) {
    switch (access) {
    case AccessRead:
        return QStringLiteral("r");
    case AccessWriteOnly:
        return QStringLiteral("w");
    default:
        return QStringLiteral("rw");
    }
}

} // namespace

int ReadCommand::Run(const Invocation& invocation) {
    if (invocation.Arguments.size() != 1) {
        session_.Prompts().ShowError(QStringLiteral("read takes one DEVICE (try olgctl read --help)"));
        return ExitUsage;
    }
    const OutputFormat format =
        ParseOutputFormat(invocation.Format.value_or(QStringLiteral("table"))).value();
    const int device = session_.ScanAndSelect(invocation.Arguments.front());
    if (device < 0)
        return ExitFailure;
    const bool answered =
        session_.Exchange(device, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
            serveur.ReadAll(session_.Devices().At(device), target, std::move(handler));
        });
    if (!answered) {
        ShowError(session_.Prompts(), ErrorDeviceNotResponding);
        return ExitFailure;
    }

    const TOLG& record = session_.Devices().At(device);
    const DeviceRegistry& registry = session_.Registry();
    const ParamValue& type = record.TypeValue();
    ListWriter list({{QStringLiteral("Id"), QStringLiteral("id")},
                     {QStringLiteral("Kind"), QStringLiteral("kind")},
                     {QStringLiteral("Access"), QStringLiteral("access")},
                     {QStringLiteral("Value"), QStringLiteral("value")}});
    for (int id = MinParamId; id <= MaxParamIdLimit; ++id) {
        const std::uint8_t kind = registry.ParamKind(id, type);
        // A device of an unknown type still shows what discovery told of it.
        if (!registry.HasParam(id, type) && (kind == KindNone || record.Value(id).IsEmpty()))
            continue;
        list.AddRow({id, KindName(kind), AccessName(registry.ParamAccess(id, type)),
                     FormatParamValue(kind, record.Value(id))});
    }
    list.Write(session_.Out(), format);
    return ExitOk;
}

} // namespace olg::cli
