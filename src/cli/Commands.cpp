#include "Commands.h"

#include <algorithm>

// Every verb, one line each in the order of the tool's help. A verb's file defines Make<Name>Command().
#define OLG_VERBS(VERB)                                                                                      \
    VERB(Scan)                                                                                               \
    VERB(Read)                                                                                               \
    VERB(Write)                                                                                              \
    VERB(Save)                                                                                               \
    VERB(Load)                                                                                               \
    VERB(Apply)                                                                                              \
    VERB(Diff)                                                                                               \
    VERB(Label)                                                                                              \
    VERB(Upgrade)                                                                                            \
    VERB(Watch)

namespace olg::cli {

#define OLG_DECLARE_VERB(Name) std::unique_ptr<Command> Make##Name##Command();
OLG_VERBS(OLG_DECLARE_VERB)
#undef OLG_DECLARE_VERB

namespace {

const char* const ToolHelpHead = R"(Usage: olgctl [OPTIONS] VERB [ARGUMENTS]

Finds the eOutletGuard power switches of the LAN, reads or writes their parameters and upgrades their firmware.

Verbs:
)";

const char* const ToolHelpTail = R"(
"olgctl VERB --help" tells more about a verb.
DEVICE is a MAC address (separators "-", ":" or ".", any case), an IP address or a device name. A device
named by its MAC or by the address its replies come from is taken as soon as it answers (several such devices
once all have answered); a name, which must be unique, waits for the whole scan.
Every verb but scan takes several DEVICEs: repeat DEVICE, or give type=MODEL (every device of that model, as
the Type column shows it) or all. They scan once, then work on up to --jobs N devices at once (default 4; label
one after the other), printing each device's lines together as it is done, and fail when any device failed;
all but read print a line per device and a summary, and write, load, apply and upgrade ask before acting on
more than one device unless --yes is given.
A broadcast leaves through every network interface that can broadcast, and a request to one device through
the interface its replies came in on.
Table output shows control characters of device texts as \xHH; csv and json keep them as they are.

Exit codes: 0 done, 1 the device or the network failed, 2 the command line is wrong.
)";

// "a", "a and b", "a, b and c".
QString Enumeration(const QStringList& items) {
    if (items.size() < 2)
        return items.join(QString());
    return items.mid(0, items.size() - 1).join(QStringLiteral(", ")) + QStringLiteral(" and ") + items.back();
}

} // namespace

Commands::Commands() {
#define OLG_MAKE_VERB(Name) verbs_.push_back(Make##Name##Command());
    OLG_VERBS(OLG_MAKE_VERB)
#undef OLG_MAKE_VERB
    for (const auto& verb : verbs_) {
        for (const QCommandLineOption& option : verb->Options()) {
            if (std::none_of(options_.cbegin(), options_.cend(), [&](const QCommandLineOption& known) {
                    return known.names() == option.names();
                }))
                options_.append(option);
        }
    }
}

Command* Commands::Find(const QString& name) const {
    const auto found =
        std::find_if(verbs_.cbegin(), verbs_.cend(), [&](const auto& verb) { return verb->Name() == name; });
    return found == verbs_.cend() ? nullptr : found->get();
}

QString Commands::ToolHelp() const {
    QString help = QString::fromUtf8(ToolHelpHead);
    for (const auto& verb : verbs_)
        help += QStringLiteral("  %1 %2\n").arg(verb->Name(), -7).arg(verb->Summary());
    return help + QString::fromUtf8(ToolHelpTail);
}

QString Commands::Owners(const QString& option) const {
    QStringList owners;
    for (const auto& verb : verbs_) {
        if (verb->Owns(option))
            owners.append(verb->Name());
    }
    return Enumeration(owners);
}

QString Commands::Misplaced(const Command& verb, const QString& option) const {
    if (verb.Owns(option))
        return {};
    // The list options belong to most verbs: say which one lacks it.
    if (option == Command::FormatOption().names().constFirst())
        return QStringLiteral("%1 has no --%2").arg(verb.Name(), option);
    // Options that belong to the same verbs are told together: "--pdf, --png and --log belong to label".
    const QString owners = Owners(option);
    QStringList together;
    for (const QCommandLineOption& other : options_) {
        if (Owners(other.names().constFirst()) == owners)
            together.append(QStringLiteral("--") + other.names().constFirst());
    }
    return QStringLiteral("%1 %2 to %3")
        .arg(Enumeration(together),
             together.size() > 1 ? QStringLiteral("belong") : QStringLiteral("belongs"), owners);
}

} // namespace olg::cli
