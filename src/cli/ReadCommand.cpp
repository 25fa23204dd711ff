#include "ReadCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "MacAddress.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

#include <QSet>

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl read DEVICE... [--format table|csv|json] [--show-passwords]
       [--jobs N]

Scans, then reads every parameter of the device and shows each with its id, name, kind, access and value:
addresses dotted, texts as text, numbers in decimal, six-byte values as MAC addresses, passwords as ********.
Several devices make one list whose rows begin with the device's MAC address.

  --format FORMAT   table (default), csv or json
  --show-passwords  show passwords as they are
  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

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

std::unique_ptr<Command> MakeReadCommand() {
    return std::make_unique<ReadCommand>();
}

ReadCommand::ReadCommand()
    : Command(QStringLiteral("read"), QStringLiteral("show every parameter of one device or several"),
              QString::fromUtf8(HelpText),
              {FormatOption(), {QStringLiteral("show-passwords"), {}}, JobsOption()}) {}

int ReadCommand::Run(Session& session) {
    session_ = &session;
    if (Words().isEmpty()) {
        session_->Prompts().ShowError(
            QStringLiteral("read takes at least one DEVICE (try olgctl read --help)"));
        return ExitUsage;
    }
    const OutputFormat format = Format();
    const bool several = Session::NamesSeveral(Words());
    const QList<int> devices = session_->ScanAndSelectAny(Words());
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
    QSet<int> failed;
    BulkRun(*session_, Jobs())
        .ForEach(
            devices, [](Session& on, int device) { return on.ReadAll(device) ? ExitOk : ExitFailure; },
            [&](int device, const BulkRun::Outcome& outcome) {
                if (outcome.Code != ExitOk)
                    failed.insert(device);
            });
    if (!several && !failed.isEmpty())
        return ExitFailure;
    // In the list's order, however the reads ended.
    for (int device : devices) {
        if (!failed.contains(device))
            AddRows(session_->Devices().At(device), several, IsSet(QStringLiteral("show-passwords")), list);
    }
    list.Write(session_->Out(), format);
    return failed.isEmpty() ? ExitOk : ExitFailure;
}

void ReadCommand::AddRows(const TOLG& record, bool withMac, bool showPasswords, ListWriter& list) const {
    const DeviceRegistry& registry = session_->Registry();
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
