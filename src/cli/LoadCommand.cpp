#include "LoadCommand.h"

#include "BulkRun.h"
#include "ConfigFileStore.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "ExitCode.h"
#include "ListWriter.h"
#include "ParamDescriptor.h"
#include "ParamIds.h"
#include "ParamText.h"
#include "RecordDiff.h"

#include <map>

namespace olg::cli {

namespace {

const char* const HelpText =
    R"(Usage: olgctl load DEVICE FILE.cfg [--dry-run] [--format table|csv|json] [--show-passwords]
       olgctl load DEVICE... FILE.cfg [--yes] [--with-address] [--jobs N]

Scans, reads the device, takes the section of its model from FILE.cfg and writes every writable parameter of
it into the device with the full write, as the Finder's Load Config does once its dialog is confirmed.
The file must have been saved from a device of the same model and type code. Loaded into one device, the
address, mask, gateway and device name come from the file too, with a warning when another listed device
answers from that address; loaded into several, each device keeps its own unless --with-address is given.

  --dry-run         only list the parameters the load would change: id, name, old value, new value
  --format FORMAT   of that list: table (default), csv or json
  --show-passwords  show passwords in that list instead of ********
  --with-address    copy the address, mask, gateway and name into several devices too; refused when two
                    of them are of one model, which would give them one address
  --yes             load into several devices without asking first
  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

} // namespace

std::unique_ptr<Command> MakeLoadCommand() {
    return std::make_unique<LoadCommand>();
}

LoadCommand::LoadCommand()
    : Command(QStringLiteral("load"),
              QStringLiteral("write a configuration saved in a .cfg file into one device or several"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("dry-run"), {}},
               FormatOption(),
               {QStringLiteral("show-passwords"), {}},
               {QStringLiteral("with-address"), {}},
               {QStringLiteral("yes"), {}},
               JobsOption()}) {}

int LoadCommand::Run(Session& session) {
    session_ = &session;
    QStringList devices;
    QString path;
    if (!DevicesAndFile(*session_, &devices, &path))
        return ExitUsage;
    if (!session_->CheckReadable(path))
        return ExitUsage;
    const bool several = Session::NamesSeveral(devices);
    if (several && IsSet(QStringLiteral("dry-run"))) {
        session_->Prompts().ShowError(QStringLiteral("--dry-run shows the changes of one DEVICE; name one"));
        return ExitUsage;
    }
    const QList<int> selected = session_->ScanAndSelectAny(devices);
    if (selected.isEmpty())
        return ExitFailure;
    // Who answers from where, taken once: a device may be worked on through a copy of its record.
    for (int device = 0; device < session_->Devices().Size(); ++device) {
        const TOLG& record = session_->Devices().At(device);
        answering_.append({record.Mac, record.SenderAddress, session_->Describe(device)});
    }
    if (!several)
        return LoadOne(*session_, selected.front(), path, false);
    // One file gives every device of a model the same address: only the rest is copied unless asked for.
    const bool keepAddress = !IsSet(QStringLiteral("with-address"));
    if (!keepAddress && !AddressesStayDistinct(selected, path))
        return ExitUsage;
    return BulkRun(*session_, Jobs())
        .Run(selected,
             IsSet(QStringLiteral("yes"))
                 ? QString()
                 : QStringLiteral("Load %1 into %2 devices?").arg(path).arg(selected.size()),
             QStringLiteral("loaded"),
             [&](Session& on, int device) { return LoadOne(on, device, path, keepAddress); });
}

bool LoadCommand::AddressesStayDistinct(const QList<int>& devices, const QString& path) {
    const DeviceRegistry& registry = session_->Registry();
    std::map<int, int> firstOfType;
    for (int device : devices) {
        const int type = registry.FindDeviceType(session_->Devices().At(device).TypeValue());
        const auto [first, inserted] = firstOfType.emplace(type, device);
        if (!inserted && type >= 0) {
            session_->Prompts().ShowError(
                QStringLiteral(
                    "--with-address would give %1 and %2 the one address of %3; nothing was loaded "
                    "(leave out --with-address, or load into one device)")
                    .arg(session_->Describe(first->second), session_->Describe(device), path));
            return false;
        }
    }
    return true;
}

void LoadCommand::WarnOfTakenAddress(Session& session, int device, const TOLG& record,
                                     const QString& path) const {
    const std::uint8_t kind = session.Registry().ParamKind(param::IpAddress, record.TypeValue());
    const std::string address = FormatParamValue(kind, record.Value(param::IpAddress)).toStdString();
    if (address.empty())
        return;
    for (const Answering& other : answering_) {
        if (other.Mac != record.Mac && other.Address == address) {
            session.Prompts().ShowWarning(
                QStringLiteral("%1 gives %2 the address %3, which %4 answers from")
                    .arg(path, session.Describe(device), QString::fromStdString(address), other.Description));
            return;
        }
    }
}

int LoadCommand::LoadOne(Session& session, int device, const QString& path, bool keepAddress) {
    const DeviceRegistry& registry = session.Registry();
    if (registry.FindDeviceType(session.Devices().At(device).TypeValue()) < 0) {
        session.Prompts().ShowError(QStringLiteral("%1 is of an unknown type; no configuration fits it")
                                        .arg(session.Describe(device)));
        return ExitFailure;
    }
    // What the device holds now, so that the changes can be told.
    if (!session.ReadAll(device))
        return ExitFailure;
    const TOLG before = session.Devices().At(device);
    TOLG record = before;
    QString error;
    // Nothing here shows the values before they are written, so a file that does not say plainly what the
    // device should get is refused.
    switch (ConfigFileStore(registry).Load(path, record, ConfigProfile::Check::Strict, &error)) {
    case ConfigFileStore::LoadResult::Loaded:
        break;
    case ConfigFileStore::LoadResult::NotCompatible:
        ShowError(session.Prompts(), ErrorConfigNotCompatible);
        return ExitFailure;
    case ConfigFileStore::LoadResult::Failed:
        session.Prompts().ShowError(error);
        return ExitFailure;
    }
    const QString sameLogins = LoginsProblem(registry, record);
    if (!sameLogins.isEmpty()) {
        session.Prompts().ShowError(sameLogins);
        return ExitFailure;
    }
    if (keepAddress) {
        for (int id : {param::SubnetMask, param::IpAddress, param::Gateway, param::DeviceName})
            record.SetValue(id, before.Value(id));
    } else {
        WarnOfTakenAddress(session, device, record, path);
    }

    const std::vector<int> changed =
        RecordDiff::DifferingIds(registry, before, record, RecordDiff::Scope::Written);
    if (IsSet(QStringLiteral("dry-run"))) {
        const OutputFormat format = Format();
        ListWriter list({{QStringLiteral("Id"), QStringLiteral("id")},
                         {QStringLiteral("Name"), QStringLiteral("name")},
                         {QStringLiteral("Old value"), QStringLiteral("old")},
                         {QStringLiteral("New value"), QStringLiteral("new")}});
        const ParamValue& type = record.TypeValue();
        const ParamNames& names = NamesOf(registry, type);
        const bool showPasswords = IsSet(QStringLiteral("show-passwords"));
        for (int id : changed) {
            const std::uint8_t kind = registry.ParamKind(id, type);
            const bool password = names.IsPassword(id);
            list.AddRow({id, QString::fromStdString(names.NameOf(id)),
                         ShownParamValue(kind, before.Value(id), password, showPasswords),
                         ShownParamValue(kind, record.Value(id), password, showPasswords)});
        }
        list.Write(session.Out(), format);
        return ExitOk;
    }

    const QString description = session.Describe(device);
    if (session.Write(device, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
            return serveur.WriteAll(record, target, std::move(handler));
        }) != Session::WriteOutcome::Written)
        return ExitFailure;
    session.Out() << QStringLiteral("%1: loaded %2 and wrote it with the full write, %3 parameter(s) changed")
                         .arg(description, path)
                         .arg(static_cast<qsizetype>(changed.size()))
                  << Qt::endl;
    return ExitOk;
}

} // namespace olg::cli
