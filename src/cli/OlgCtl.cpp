#include "OlgCtl.h"

#include "BroadcastInterfaces.h"
#include "ExitCode.h"
#include "HelpText.h"
#include "Invocation.h"
#include "LabelCommand.h"
#include "ListWriter.h"
#include "LoadCommand.h"
#include "ReadCommand.h"
#include "SaveCommand.h"
#include "ScanCommand.h"
#include "Session.h"
#include "SimulatedLan.h"
#include "UpgradeCommand.h"
#include "WriteCommand.h"

#include <QDir>

#include <memory>

namespace olg::cli {

int OlgCtl::Usage(const QString& message) {
    err_ << "olgctl: " << message << Qt::endl;
    return ExitUsage;
}

int OlgCtl::Run(const QStringList& arguments) {
    QString error;
    std::optional<Invocation> parsed = Invocation::Parse(arguments, &error);
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
    const QString help = HelpText(invocation.Verb);
    if (help.isEmpty())
        return Usage(QStringLiteral("unknown verb \"%1\" (try olgctl --help)").arg(invocation.Verb));
    if (invocation.Help || invocation.Verb.isEmpty()) {
        (invocation.Help ? out_ : err_) << help << Qt::flush;
        return invocation.Help ? ExitOk : ExitUsage;
    }

    const bool takesFormat =
        invocation.Verb != QLatin1String("write") && invocation.Verb != QLatin1String("save") &&
        invocation.Verb != QLatin1String("label") && invocation.Verb != QLatin1String("upgrade");
    if (invocation.Format && (!takesFormat || !ParseOutputFormat(*invocation.Format)))
        return Usage(takesFormat ? QStringLiteral("--format takes table, csv or json")
                                 : invocation.Verb + QStringLiteral(" has no --format"));
    if (invocation.All && invocation.Verb != QLatin1String("write"))
        return Usage(QStringLiteral("--all belongs to write"));
    if (invocation.DryRun && invocation.Verb != QLatin1String("load"))
        return Usage(QStringLiteral("--dry-run belongs to load"));
    const bool upgrade = invocation.Verb == QLatin1String("upgrade");
    if (invocation.Yes && invocation.Verb != QLatin1String("write") &&
        invocation.Verb != QLatin1String("load") && !upgrade)
        return Usage(QStringLiteral("--yes belongs to write, load and upgrade"));
    if (!invocation.Interfaces.isEmpty() && (invocation.Demo || invocation.Target))
        return Usage(QStringLiteral("--interface limits the LAN broadcast; leave out --target and --demo"));
    for (const QString& name : invocation.Interfaces) {
        const QString problem = BroadcastInterfaces::Check(name);
        if (!problem.isEmpty())
            return Usage(problem);
    }
    if ((invocation.Pdf || invocation.Png || invocation.Log) && invocation.Verb != QLatin1String("label"))
        return Usage(QStringLiteral("--pdf, --png and --log belong to label"));
    if (!upgrade && (invocation.TftpPort || invocation.FtpPort))
        return Usage(QStringLiteral("--tftp-port and --ftp-port belong to upgrade"));
    if (invocation.ShowPasswords && invocation.Verb != QLatin1String("read") &&
        invocation.Verb != QLatin1String("load"))
        return Usage(QStringLiteral("--show-passwords belongs to read and load"));
    if (invocation.WithAddress && invocation.Verb != QLatin1String("load"))
        return Usage(QStringLiteral("--with-address belongs to load"));

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

    for (const auto& [text, port] : {std::pair{&invocation.TftpPort, &settings.TftpPort},
                                     std::pair{&invocation.FtpPort, &settings.FtpPort}}) {
        if (!*text)
            continue;
        bool ok = false;
        const uint value = (*text)->toUInt(&ok);
        if (!ok || value == 0 || value > 65535)
            return Usage(QStringLiteral("a port is a number from 1 to 65535, not \"%1\"").arg(**text));
        *port = static_cast<quint16>(value);
    }

    Session session(out_, err_, settings, in_);
    session.LimitInterfaces(invocation.Interfaces);
    if (invocation.Quiet)
        session.Progress().SetQuiet();
    if (invocation.Verb == QLatin1String("scan"))
        return ScanCommand(session).Run(invocation);
    if (invocation.Verb == QLatin1String("read"))
        return ReadCommand(session).Run(invocation);
    if (invocation.Verb == QLatin1String("save"))
        return SaveCommand(session).Run(invocation);
    if (invocation.Verb == QLatin1String("load"))
        return LoadCommand(session).Run(invocation);
    if (invocation.Verb == QLatin1String("label"))
        return LabelCommand(session).Run(invocation);
    if (upgrade)
        return UpgradeCommand(session).Run(invocation);
    return WriteCommand(session).Run(invocation);
}

} // namespace olg::cli
