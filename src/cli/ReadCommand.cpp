#include "ReadCommand.h"

#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
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
    if (invocation.Arguments.isEmpty()) {
        session_.Prompts().ShowError(
            QStringLiteral("read takes at least one DEVICE (try olgctl read --help)"));
        return ExitUsage;
    }
    const OutputFormat format =
        ParseOutputFormat(invocation.Format.value_or(QStringLiteral("table"))).value();
    const bool several = Session::NamesSeveral(invocation.Arguments);
    const QList<int> devices = session_.ScanAndSelectAny(invocation.Arguments);
    if (devices.isEmpty())
        return ExitFailure;

    // Several devices make one list, each row naming its device, so that it stays one table or document.
    QList<ListWriter::Column> columns{{QStringLiteral("Id"), QStringLiteral("id")},
                                      {QStringLiteral("Name"), QStringLiteral("name")},
                                      {QStringLiteral("Kind"), QStringLiteral("kind")},
                                      {QStringLiteral("Access"), QStringLiteral("access")},
                                      {QStringLiteral("Value"), QStringLiteral("value")}};
    if (several)
        columns.prepend({QStringLiteral("MAC Address"), QStringLiteral("mac")});
    ListWriter list(columns);
    int failed = 0;
    for (int number = 1; number <= devices.size(); ++number) {
        const int device = devices.at(number - 1);
        session_.Progress().Step(number, static_cast<int>(devices.size()), session_.Describe(device));
        if (!session_.ReadAll(device)) {
            ++failed;
            continue;
        }
        AddRows(session_.Devices().At(device), several, invocation.ShowPasswords, list);
    }
    if (!several && failed > 0)
        return ExitFailure;
    list.Write(session_.Out(), format);
    return failed == 0 ? ExitOk : ExitFailure;
}

void ReadCommand::AddRows(const TOLG& record, bool withMac, bool showPasswords, ListWriter& list) const {
    const DeviceRegistry& registry = session_.Registry();
    const ParamValue& type = record.TypeValue();
    const QString mac = QString::fromStdString(FormatMac(".", record.Mac));
    const ParamNames& names = NamesOf(registry, type);
    for (int id = MinParamId; id <= MaxParamIdLimit; ++id) {
        const std::uint8_t kind = registry.ParamKind(id, type);
        // A device of an unknown type still shows what discovery told of it.
        if (!registry.HasParam(id, type) && (kind == KindNone || record.Value(id).IsEmpty()))
            continue;
        QVariantList row{id, QString::fromStdString(names.NameOf(id)), KindName(kind),
                         AccessName(registry.ParamAccess(id, type)),
                         ShownParamValue(kind, record.Value(id), names.IsPassword(id), showPasswords)};
        if (withMac)
            row.prepend(mac);
        list.AddRow(row);
    }
}

} // namespace olg::cli
