#include "ApplyCommand.h"

#include "BulkRun.h"
#include "ExitCode.h"
#include "ParamDescriptor.h"
#include "ParamText.h"
#include "Plan.h"
#include "PlanTable.h"
#include "TerminalText.h"

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl apply PLAN [--dry-run] [--yes] [--show-passwords] [--jobs N]

Brings the devices a plan names to the values it gives them. PLAN is a CSV file with a header row (quoted
as spreadsheets write it, UTF-8) or a JSON array of objects, told apart by the name's end (.csv, .json) or
else by the content. The column "mac" names each device by its MAC address; the other columns are parameter
ids (7, 14, ...) or the names olgctl read shows (name, ip, mask, gateway, port, socket3, user2-password,
...), each taken for the model of the device in that row. An empty cell leaves the parameter as it is.

The whole plan is checked first, and every problem is told with its row and column: an unknown column, a
value that does not fit the parameter on that device's model, a MAC given twice, one address given to two
devices or already answering from another device, a device that does not answer the scan. With any
problem nothing is written: the exit code is 2 for a problem of the file, else 1.

Then each device is read, every change is shown (7: "Rack A" -> "Rack A2") and only the changes are
written: with the general write when only general network settings change, else with the full write. A
device already as planned is left unchanged, so a second apply of a plan writes nothing. A device counts as
written only when it answers the write itself.

  --dry-run         only show the changes
  --show-passwords  show passwords in the changes instead of ********
  --yes             write into several devices without asking first
  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

constexpr int ProblemsShown = 50;

QString Shown(std::uint8_t kind, const ParamValue& value, bool password, bool showPasswords) {
    const QString text = TerminalText(ShownParamValue(kind, value, password, showPasswords));
    return kind == KindText ? QStringLiteral("\"%1\"").arg(text) : text;
}

} // namespace

std::unique_ptr<Command> MakeApplyCommand() {
    return std::make_unique<ApplyCommand>();
}

ApplyCommand::ApplyCommand()
    : Command(QStringLiteral("apply"), QStringLiteral("bring devices to the values a plan file gives them"),
              QString::fromUtf8(HelpText),
              {{QStringLiteral("dry-run"), {}},
               {QStringLiteral("show-passwords"), {}},
               {QStringLiteral("yes"), {}},
               JobsOption()}) {}

int ApplyCommand::Run(Session& session) {
    if (Words().size() != 1) {
        session.Prompts().ShowError(QStringLiteral("apply takes one PLAN (try olgctl apply --help)"));
        return ExitUsage;
    }
    const QString path = Words().front();
    const auto refuse = [&](const QStringList& problems, int exitCode) {
        // Some other file taken for a plan could have a problem on every line: the first ones tell enough.
        for (const QString& problem : problems.mid(0, ProblemsShown))
            session.Prompts().ShowError(problem);
        if (problems.size() > ProblemsShown)
            session.Prompts().ShowError(
                QStringLiteral("%1: %2 more problem(s)").arg(path).arg(problems.size() - ProblemsShown));
        session.Prompts().ShowError(
            QStringLiteral("%1: %2 problem(s); nothing was written").arg(path).arg(problems.size()));
        return exitCode;
    };
    // The file is checked as far as it can be before anything is sent.
    QStringList problems;
    PlanTable table;
    Plan plan(session.Registry());
    if (!table.Read(path, &problems) || !plan.Take(table, &problems) || !problems.isEmpty())
        return refuse(problems, ExitUsage);
    if (!session.Scan())
        return ExitFailure;
    switch (plan.Match(
        session.Devices(), [&](int device) { return session.Describe(device); }, &problems)) {
    case Plan::Outcome::Fits:
        break;
    case Plan::Outcome::DeviceProblems:
        return refuse(problems, ExitFailure);
    case Plan::Outcome::PlanProblems:
        return refuse(problems, ExitUsage);
    }

    QList<int> devices;
    std::map<std::uint64_t, Outcome> outcomes;
    for (const Plan::Entry& entry : plan.Entries()) {
        devices.append(entry.Device);
        outcomes.emplace(entry.Mac, Outcome::Failed);
    }
    const Options options{IsSet(QStringLiteral("dry-run")), IsSet(QStringLiteral("show-passwords"))};
    const bool ask = !options.DryRun && !IsSet(QStringLiteral("yes"));
    // Each device is found in the plan by its MAC, whatever its place in the session's list.
    return BulkRun(session, Jobs())
        .Run(
            devices,
            ask ? QStringLiteral("Apply %1 to %2 devices?").arg(path).arg(devices.size()) : QString(),
            [&](int failed) {
                int changed = 0;
                for (const auto& [mac, outcome] : outcomes)
                    changed += outcome == Outcome::Changed ? 1 : 0;
                return QStringLiteral("%1 %2, %3 unchanged, %4 failed")
                    .arg(changed)
                    .arg(options.DryRun ? QStringLiteral("to change") : QStringLiteral("changed"))
                    .arg(devices.size() - changed - failed)
                    .arg(failed);
            },
            [&](Session& on, int device) {
                const std::uint64_t mac = on.Devices().At(device).Mac;
                return ApplyOne(on, device, plan.Find(mac)->Values, options, &outcomes.at(mac));
            });
}

int ApplyCommand::ApplyOne(Session& session, int device, const std::map<int, ParamValue>& values,
                           const Options& options, Outcome* outcome) {
    *outcome = Outcome::Failed;
    // What the device holds now: only what differs is written, and a full write sends every value.
    if (!session.ReadAll(device))
        return ExitFailure;
    const DeviceRegistry& registry = session.Registry();
    TOLG record = session.Devices().At(device);
    const ParamValue type = record.TypeValue();
    const ParamNames& names = NamesOf(registry, type);
    const QString description = session.Describe(device);
    bool generalOnly = true;
    int changes = 0;
    for (const auto& [id, value] : values) {
        if (record.Value(id) == value)
            continue;
        const std::uint8_t kind = registry.ParamKind(id, type);
        const bool password = names.IsPassword(id);
        session.Out() << QStringLiteral("%1: %2: %3 -> %4")
                             .arg(description)
                             .arg(id)
                             .arg(Shown(kind, record.Value(id), password, options.ShowPasswords),
                                  Shown(kind, value, password, options.ShowPasswords))
                      << Qt::endl;
        record.SetValue(id, value);
        generalOnly = generalOnly && registry.IsGeneralParam(id, type);
        ++changes;
    }
    const QString write = generalOnly ? QStringLiteral("general") : QStringLiteral("full");
    if (changes == 0) {
        session.Out() << description << ": unchanged" << Qt::endl;
        *outcome = Outcome::Unchanged;
        return ExitOk;
    }
    // Two accounts of one name would lock each other out: the dialogs refuse them too.
    const QString sameLogins = LoginsProblem(registry, record);
    if (!sameLogins.isEmpty()) {
        session.Prompts().ShowError(
            QStringLiteral("%1: %2; nothing was written").arg(description, sameLogins));
        return ExitFailure;
    }
    // A parameter without a value would be written as zero or as an empty text: refuse rather than damage.
    const QString missing = MissingWriteValuesProblem(registry, record, generalOnly, description);
    if (!missing.isEmpty()) {
        session.Prompts().ShowError(missing);
        return ExitFailure;
    }
    if (!options.DryRun &&
        session.Write(device, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
            return serveur.WriteParams(record, generalOnly, target, std::move(handler));
        }) != Session::WriteOutcome::Written)
        return ExitFailure;
    session.Out() << QStringLiteral("%1: %2 %3 parameter(s) with the %4 write")
                         .arg(description,
                              options.DryRun ? QStringLiteral("would write") : QStringLiteral("wrote"))
                         .arg(changes)
                         .arg(write)
                  << Qt::endl;
    *outcome = Outcome::Changed;
    return ExitOk;
}

} // namespace olg::cli
