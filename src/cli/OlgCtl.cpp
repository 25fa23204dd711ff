#include "OlgCtl.h"

#include "BroadcastInterfaces.h"
#include "Commands.h"
#include "ExitCode.h"
#include "Invocation.h"
#include "Session.h"
#include "SimulatedLan.h"

#include <QDir>

#include <memory>

namespace olg::cli {

namespace {

const char* const CommonOptions = R"(
Options of every verb:
  --bind ADDR:PORT    local address and UDP port of the exchange (default 0.0.0.0:52389; port 0: a
                      free one)
  --target ADDR:PORT  where requests are sent (default 255.255.255.255:52389, the LAN's broadcast)
  --interface NAME    send the LAN broadcast out of this network interface only, and ignore replies that
                      come in on others; may be repeated (default: every interface that is up, can
                      broadcast and is not loopback)
  --demo              work on a simulated LAN of sixteen devices on loopback instead of the real one; it
                      keeps the changes made to it from one run to the next
  --demo-reset        the same, started afresh
  --help              this help
  --quiet             print only the result lines and the summary: no progress, no notes
  --version           the program's version
)";

} // namespace

int OlgCtl::Usage(const QString& message) {
    err_ << "olgctl: " << message << Qt::endl;
    return ExitUsage;
}

int OlgCtl::Run(const QStringList& arguments) {
    const Commands commands;
    QString error;
    std::optional<Invocation> parsed = Invocation::Parse(arguments, commands.Options(), &error);
    if (!parsed)
        return Usage(error + QStringLiteral(" (try olgctl --help)"));
    Invocation& invocation = *parsed;

    // "olgctl help [VERB]" reads like "olgctl [VERB] --help".
    if (invocation.Verb == QLatin1String("help")) {
        invocation.Help = true;
        invocation.Verb = invocation.Arguments.value(0);
    }
    if (invocation.Version) {
        out_ << "olgctl " << OLG_VERSION << Qt::endl;
        return ExitOk;
    }
    Command* command = commands.Find(invocation.Verb);
    if (!command && !invocation.Verb.isEmpty())
        return Usage(QStringLiteral("unknown verb \"%1\" (try olgctl --help)").arg(invocation.Verb));
    if (invocation.Help || !command) {
        const QString help =
            (command ? command->Help() : commands.ToolHelp()) + QString::fromUtf8(CommonOptions);
        (invocation.Help ? out_ : err_) << help << Qt::flush;
        return invocation.Help ? ExitOk : ExitUsage;
    }

    for (const auto& [option, value] : invocation.VerbOptions) {
        const QString misplaced = commands.Misplaced(*command, option);
        if (!misplaced.isEmpty())
            return Usage(misplaced);
        const QString wrongFormat =
            option == Command::FormatOption().names().constFirst() ? command->FormatProblem(value)
            : option == Command::JobsOption().names().constFirst() ? Command::JobsProblem(value)
                                                                   : QString();
        if (!wrongFormat.isEmpty())
            return Usage(wrongFormat);
    }
    command->Take(invocation.Arguments, invocation.VerbOptions);
    if (!invocation.Interfaces.isEmpty() && (invocation.Demo || invocation.Target))
        return Usage(QStringLiteral("--interface limits the LAN broadcast; leave out --target and --demo"));
    for (const QString& name : invocation.Interfaces) {
        const QString problem = BroadcastInterfaces::Check(name);
        if (!problem.isEmpty())
            return Usage(problem);
    }

    ExchangeSettings settings;
    std::unique_ptr<SimulatedLan> lan;
    if (invocation.Demo) {
        if (invocation.Bind || invocation.Target)
            return Usage(QStringLiteral("--demo chooses its own addresses; leave out --bind and --target"));
        lan = std::make_unique<SimulatedLan>();
        // The demo's network outlives the run, so that a write is there for the next read.
        if (!lan->StartKept(SimulatedLan::KeptStatePath(), invocation.DemoReset, &error)) {
            err_ << "olgctl: cannot start the simulated LAN: " << error << Qt::endl;
            return ExitFailure;
        }
        settings = lan->Settings();
        if (!invocation.Quiet)
            err_ << "olgctl: working on a simulated LAN of " << lan->DeviceCount() << " devices, kept in "
                 << QDir::toNativeSeparators(SimulatedLan::KeptStatePath()) << " (--demo-reset starts afresh)"
                 << Qt::endl;
    }
    const QString wrongEndpoint = settings.TakeEndpointOptions(invocation.Bind, invocation.Target);
    if (!wrongEndpoint.isEmpty())
        return Usage(wrongEndpoint);

    const QString wrongOption = command->Configure(settings);
    if (!wrongOption.isEmpty())
        return Usage(wrongOption);

    Session session(out_, err_, settings, in_);
    session.LimitInterfaces(invocation.Interfaces);
    if (invocation.Quiet)
        session.Progress().SetQuiet();
    return command->Run(session);
}

} // namespace olg::cli
