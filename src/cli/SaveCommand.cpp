#include "SaveCommand.h"

#include "BulkRun.h"
#include "ConfigFileStore.h"
#include "ExitCode.h"
#include "MacAddress.h"

#include <QDir>
#include <QFileInfo>

namespace olg::cli {

namespace {

const char* const HelpText = R"(Usage: olgctl save DEVICE FILE.cfg
       olgctl save DEVICE... FOLDER [--jobs N]

Scans, reads every parameter of the device and writes them into the section of its model in FILE.cfg, as the
Finder's Save Config does: one key per parameter id, addresses dotted, numbers in decimal, texts as they are.
The file's other sections and lines are kept; a new file is readable by its owner only, since it holds the
account passwords. A text with a line break or a NUL byte cannot be saved: nothing is written then.
Several devices are saved into FOLDER, each into a file of its own named after its MAC (00-0A-95-9D-68-16.cfg).

  --jobs N          how many devices are worked on at once (default 4, at most 64; 1: one after the other)
)";

} // namespace

std::unique_ptr<Command> MakeSaveCommand() {
    return std::make_unique<SaveCommand>();
}

SaveCommand::SaveCommand()
    : Command(QStringLiteral("save"),
              QStringLiteral(
                  "save the configuration of one device into a .cfg file, or of several into a folder"),
              QString::fromUtf8(HelpText), {JobsOption()}) {}

int SaveCommand::Run(Session& session) {
    session_ = &session;
    QStringList devices;
    QString path;
    if (!DevicesAndFile(*session_, &devices, &path))
        return ExitUsage;
    const bool several = Session::NamesSeveral(devices);
    if (several && !QFileInfo(path).isDir()) {
        session_->Prompts().ShowError(
            QStringLiteral("several devices are saved into a folder, one file each; %1 is not a folder")
                .arg(path));
        return ExitUsage;
    }
    const QList<int> selected = session_->ScanAndSelectAny(devices);
    if (selected.isEmpty())
        return ExitFailure;
    if (!several)
        return SaveOne(*session_, selected.front(), path);
    return BulkRun(*session_, Jobs())
        .Run(selected, QString(), QStringLiteral("saved"), [&](Session& on, int device) {
            const std::string mac = FormatMac("-", on.Devices().At(device).Mac);
            return SaveOne(on, device,
                           QDir(path).filePath(QString::fromStdString(mac) + QStringLiteral(".cfg")));
        });
}

int SaveCommand::SaveOne(Session& session, int device, const QString& path) {
    const DeviceRegistry& registry = session.Registry();
    if (registry.FindDeviceType(session.Devices().At(device).TypeValue()) < 0) {
        session.Prompts().ShowError(
            QStringLiteral("%1 is of an unknown type; it has no configuration to save")
                .arg(session.Describe(device)));
        return ExitFailure;
    }
    if (!session.ReadAll(device))
        return ExitFailure;
    QString error;
    if (!ConfigFileStore(registry).Save(path, session.Devices().At(device), &error)) {
        session.Prompts().ShowError(error);
        return ExitFailure;
    }
    session.Out() << QStringLiteral("%1: saved into %2").arg(session.Describe(device), path) << Qt::endl;
    return ExitOk;
}

} // namespace olg::cli
