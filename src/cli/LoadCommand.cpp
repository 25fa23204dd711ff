#include "LoadCommand.h"

#include "BulkRun.h"
#include "ConfigFileStore.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl load DEVICE FILE.cfg [--dry-run] [--format table|csv|json]
       olgctl load DEVICE... FILE.cfg [--yes]

Scans, reads the device, takes the section of its model from FILE.cfg and writes every writable parameter of
it into the device with the full write, as the Finder's Load Config does once its dialog is confirmed.
The file must have been saved from a device of the same model and type code. Addresses and the device name
come from the file too.

  --dry-run        only list the parameters the load would change: id, old value, new value
  --format FORMAT  of that list: table (default), csv or json
  --yes            load into several devices without asking first
)";

} // namespace

std::unique_ptr<Command> MakeLoadCommand() {
    return std::make_unique<LoadCommand>();
}

LoadCommand::LoadCommand()
    : Command(QStringLiteral("load"),
              QStringLiteral("write a configuration saved in a .cfg file into one device or several"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("dry-run"), {}}, FormatOption(), {QStringLiteral("yes"), {}}}) {}

int LoadCommand::Run(Session& session) {
    session_ = &session;
    QStringList devices;
    QString path;
    if (!DevicesAndFile(*session_, &devices, &path))
        return ExitUsage;
    const bool several = Session::NamesSeveral(devices);
    if (several && IsSet(QStringLiteral("dry-run"))) {
        session_->Prompts().ShowError(QStringLiteral("--dry-run shows the changes of one DEVICE; name one"));
        return ExitUsage;
    }
    const QList<int> selected = session_->ScanAndSelectAny(devices);
    if (selected.isEmpty())
        return ExitFailure;
    if (!several)
        return LoadOne(selected.front(), path);
    return BulkRun(*session_).Run(
        selected,
        IsSet(QStringLiteral("yes"))
            ? QString()
            : QStringLiteral("Load %1 into %2 devices?").arg(path).arg(selected.size()),
        QStringLiteral("loaded"), [&](int device) { return LoadOne(device, path); });
}

int LoadCommand::LoadOne(int device, const QString& path) {
    const DeviceRegistry& registry = session_->Registry();
    if (registry.FindDeviceType(session_->Devices().At(device).TypeValue()) < 0) {
        session_->Prompts().ShowError(QStringLiteral("%1 is of an unknown type; no configuration fits it")
                                          .arg(session_->Describe(device)));
        return ExitFailure;
    }
    // What the device holds now, so that the changes can be told.
    if (!session_->ReadAll(device))
        return ExitFailure;
    const TOLG before = session_->Devices().At(device);
    TOLG record = before;
    QString error;
    // Nothing here shows the values before they are written, so a file that does not say plainly what the
    // device should get is refused.
    switch (ConfigFileStore(registry).Load(path, record, ConfigProfile::Check::Strict, &error)) {
    case ConfigFileStore::LoadResult::Loaded:
        break;
    case ConfigFileStore::LoadResult::NotCompatible:
        ShowError(session_->Prompts(), ErrorConfigNotCompatible);
        return ExitFailure;
    case ConfigFileStore::LoadResult::Failed:
        session_->Prompts().ShowError(error);
        return ExitFailure;
    }
    if (!CheckLogins(record))
        return ExitFailure;

    const QList<int> changed = ChangedIds(before, record);
    if (IsSet(QStringLiteral("dry-run"))) {
        const OutputFormat format = Format();
        ListWriter list({{QStringLiteral("Id"), QStringLiteral("id")},
                         {QStringLiteral("Old value"), QStringLiteral("old")},
                         {QStringLiteral("New value"), QStringLiteral("new")}});
        const ParamValue& type = record.TypeValue();
        for (int id : changed) {
            const std::uint8_t kind = registry.ParamKind(id, type);
            list.AddRow(
                {id, FormatParamValue(kind, before.Value(id)), FormatParamValue(kind, record.Value(id))});
        }
        list.Write(session_->Out(), format);
        return ExitOk;
    }

    const QString description = session_->Describe(device);
    if (session_->Write(device, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
            return serveur.WriteAll(record, target, std::move(handler));
        }) != Session::WriteOutcome::Written)
        return ExitFailure;
    session_->Out() << QStringLiteral(
                           "%1: loaded %2 and wrote it with the full write, %3 parameter(s) changed")
                           .arg(description, path)
                           .arg(changed.size())
                    << Qt::endl;
    return ExitOk;
}

QList<int> LoadCommand::ChangedIds(const TOLG& before, const TOLG& after) const {
    const DeviceRegistry& registry = session_->Registry();
    const ParamValue& type = after.TypeValue();
    QList<int> changed;
    for (int id = MinParamId; id <= registry.MaxParamId(type); ++id) {
        const std::uint8_t access = registry.ParamAccess(id, type);
        const std::uint8_t kind = registry.ParamKind(id, type);
        const bool sent =
            registry.HasParam(id, type) && access != AccessRead && kind >= KindIp && kind <= KindU32;
        if (sent && before.Value(id) != after.Value(id))
            changed.append(id);
    }
    return changed;
}

bool LoadCommand::CheckLogins(const TOLG& record) {
    const DeviceRegistry& registry = session_->Registry();
    const int type = registry.FindDeviceType(record.TypeValue());
    QList<int> logins;
    for (const ParamDescriptor& descriptor : registry.Entry(type).Params) {
        if (descriptor.Access == AccessLogin)
            logins.append(descriptor.Id);
    }
    for (int i : logins) {
        for (int j : logins) {
            if (i != j && record.Value(i) == record.Value(j)) {
                ShowError(session_->Prompts(), ErrorLoginsMustDiffer,
                          DeviceText::Decode(record.Value(i).AsText()));
                return false;
            }
        }
    }
    return true;
}

} // namespace olg::cli
