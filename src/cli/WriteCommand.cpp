#include "WriteCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "ParamDescriptor.h"
#include "ParamText.h"

#include <QRegularExpression>

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl write DEVICE ID=VALUE... [--all]
       olgctl write DEVICE... ID=VALUE... [--all] [--yes] [--jobs N]

Scans, sets the given parameters in a copy of the device's record and writes it back. A parameter is named by
its id or by the name olgctl read shows (ip=10.0.0.5, name="Lobby rack"). Values are read by the parameter's
kind: an IPv4 address as a.b.c.d, a number in decimal or as 0x hexadecimal within its range, a text
as given (at most 255 bytes in the device's code page, Windows-1252). Read-only and unknown ids are refused and
nothing is sent.

Only the general network settings are written, unless --all is given or an id outside them is set; then the
whole record is read from the device first and written back whole, so that no parameter gets a value that was
never read.

A device counts as written only when it answers the write itself.

  --all             write every writable parameter
  --yes             write into several devices without asking first
  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

} // namespace

std::unique_ptr<Command> MakeWriteCommand() {
    return std::make_unique<WriteCommand>();
}

WriteCommand::WriteCommand()
    : Command(QStringLiteral("write"), QStringLiteral("change parameters of one device or several"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("all"), {}}, {QStringLiteral("yes"), {}}, JobsOption()}) {}

int WriteCommand::Run(Session& session) {
    session_ = &session;
    // DEVICE words first, then the assignments. The first word always names a device, as it always did, so
    // a device name may hold "="; after it, a word with "=" is an assignment unless it names a type.
    QStringList devices = Words().mid(0, 1);
    QStringList assignments;
    for (const QString& word : Words().mid(1)) {
        const bool deviceWord = !word.contains(QLatin1Char('=')) || word.startsWith(QLatin1String("type="));
        (assignments.isEmpty() && deviceWord ? devices : assignments).append(word);
    }
    if (devices.isEmpty() || assignments.isEmpty()) {
        session_->Prompts().ShowError(
            QStringLiteral("write takes a DEVICE and at least one ID=VALUE (try olgctl write --help)"));
        return ExitUsage;
    }
    // The syntax is checked before anything is sent; the values need the device's type, known after the scan.
    static const QRegularExpression assignment(QStringLiteral("^([0-9]{1,3}|[A-Za-z][A-Za-z0-9-]*)=(.*)$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    for (const QString& argument : assignments) {
        const QRegularExpressionMatch match = assignment.match(argument);
        const QString key = match.captured(1);
        const int id = key.toInt();
        if (!match.hasMatch() || (key.front().isDigit() ? id < MinParamId || id > MaxParamIdLimit
                                                        : !ParamNames::IsKnown(key.toStdString()))) {
            session_->Prompts().ShowError(
                QStringLiteral("\"%1\" is not ID=VALUE with an id from 1 to 999, nor "
                               "NAME=VALUE with a name olgctl read shows")
                    .arg(argument));
            return ExitUsage;
        }
        assignments_.append({key, match.captured(2)});
    }

    if (!Session::NamesSeveral(devices)) {
        const int device = session_->ScanAndSelect(devices.front());
        if (device < 0)
            return ExitFailure;
        std::map<int, ParamValue> values;
        if (!TypeAssignments(session_->Devices().At(device), &values))
            return ExitUsage;
        return WriteOne(*session_, device, values, IsSet(QStringLiteral("all")));
    }
    const QList<int> selected = session_->ScanAndSelectSeveral(devices);
    if (selected.isEmpty())
        return ExitFailure;
    // Nothing is sent unless every assignment suits every device.
    // By MAC: a device may be worked on through a copy of its record.
    std::map<std::uint64_t, std::map<int, ParamValue>> values;
    for (int device : selected) {
        if (!TypeAssignments(session_->Devices().At(device), &values[session_->Devices().At(device).Mac])) {
            session_->Prompts().ShowError(
                QStringLiteral("%1 refuses the write; nothing was written").arg(session_->Describe(device)));
            return ExitUsage;
        }
    }
    return BulkRun(*session_, Jobs())
        .Run(selected,
             IsSet(QStringLiteral("yes")) ? QString()
                                          : QStringLiteral("Write into %1 devices?").arg(selected.size()),
             QStringLiteral("written"), [&](Session& on, int device) {
                 return WriteOne(on, device, values.at(on.Devices().At(device).Mac),
                                 IsSet(QStringLiteral("all")));
             });
}

int WriteCommand::WriteOne(Session& session, int device, const std::map<int, ParamValue>& values, bool all) {
    const DeviceRegistry& registry = session.Registry();
    const ParamValue type = session.Devices().At(device).TypeValue();
    bool generalOnly = !all;
    for (const auto& [id, value] : values)
        generalOnly = generalOnly && registry.IsGeneralParam(id, type);

    if (!generalOnly) {
        if (!session.ReadAll(device))
            return ExitFailure;
    }
    // The copy is taken after the read, so it carries what the device holds now.
    TOLG record = session.Devices().At(device);
    for (const auto& [id, value] : values)
        record.SetValue(id, value);
    // A parameter without a value would be written as zero or as an empty text: refuse rather than damage.
    const QString missing =
        MissingWriteValuesProblem(registry, record, generalOnly, session.Describe(device));
    if (!missing.isEmpty()) {
        session.Prompts().ShowError(missing);
        return ExitFailure;
    }

    // Named before the write: its reply may already carry new values.
    const QString description = session.Describe(device);
    switch (session.Write(device, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
        return serveur.WriteParams(record, generalOnly, target, std::move(handler));
    })) {
    case Session::WriteOutcome::Written:
        break;
    case Session::WriteOutcome::TextTooLong:
        return ExitUsage;
    case Session::WriteOutcome::NotAnswered:
        return ExitFailure;
    }
    session.Out() << QStringLiteral("%1: wrote %2 parameter(s) with the %3 write")
                         .arg(description)
                         .arg(values.size())
                         .arg(generalOnly ? QStringLiteral("general") : QStringLiteral("full"))
                  << Qt::endl;
    return ExitOk;
}

bool WriteCommand::TypeAssignments(const TOLG& record, std::map<int, ParamValue>* values) {
    const DeviceRegistry& registry = session_->Registry();
    const ParamValue& type = record.TypeValue();
    const QString model = registry.FindDeviceType(type) >= 0
                              ? QString::fromStdString(registry.Entry(registry.FindDeviceType(type)).Model)
                              : QStringLiteral("an unknown type");
    const ParamNames& names = NamesOf(registry, type);
    for (const auto& [key, text] : assignments_) {
        const int id = names.IdOf(key.toStdString()).value_or(0);
        if (id == 0 || !registry.HasParam(id, type)) {
            session_->Prompts().ShowError(
                QStringLiteral("parameter %1 does not exist on this device (%2)").arg(key, model));
            return false;
        }
        if (values->contains(id)) {
            session_->Prompts().ShowError(QStringLiteral("parameter %1 is given more than once").arg(id));
            return false;
        }
        const std::uint8_t kind = registry.ParamKind(id, type);
        if (registry.ParamAccess(id, type) == AccessRead || kind < KindIp || kind > KindU32) {
            session_->Prompts().ShowError(QStringLiteral("parameter %1 is read-only").arg(id));
            return false;
        }
        QString error;
        std::optional<ParamValue> value = ParseParamValue(kind, text, &error);
        if (!value) {
            session_->Prompts().ShowError(QStringLiteral("parameter %1: %2").arg(id).arg(error));
            return false;
        }
        values->emplace(id, std::move(*value));
    }
    return true;
}

} // namespace olg::cli
