#include "SaveCommand.h"

#include "BulkRun.h"
#include "ConfigFileStore.h"
#include "Datagram.h"
#include "ErrorBox.h"
#include "ExitCode.h"
#include "MacAddress.h"

#include <QDir>
#include <QFileInfo>

namespace olg::cli {

int SaveCommand::Run(const Invocation& invocation) {
    if (invocation.Arguments.size() < 2) {
        session_.Prompts().ShowError(
            QStringLiteral("save takes a DEVICE and a FILE (try olgctl save --help)"));
        return ExitUsage;
    }
    const QString& path = invocation.Arguments.back();
    const QStringList devices = invocation.Arguments.mid(0, invocation.Arguments.size() - 1);
    if (!Session::NamesSeveral(devices)) {
        const int device = session_.ScanAndSelect(devices.front());
        if (device < 0)
            return ExitFailure;
        return SaveOne(device, path);
    }
    if (!QFileInfo(path).isDir()) {
        session_.Prompts().ShowError(
            QStringLiteral("several devices are saved into a folder, one file each; %1 is no folder")
                .arg(path));
        return ExitUsage;
    }
    const QList<int> selected = session_.ScanAndSelectSeveral(devices);
    if (selected.isEmpty())
        return ExitFailure;
    return BulkRun(session_).Run(selected, QString(), QStringLiteral("saved"), [&](int device) {
        const std::string mac = FormatMac("-", session_.Devices().At(device).Mac);
        return SaveOne(device, QDir(path).filePath(QString::fromStdString(mac) + QStringLiteral(".cfg")));
    });
}

int SaveCommand::SaveOne(int device, const QString& path) {
    const DeviceRegistry& registry = session_.Registry();
    if (registry.FindDeviceType(session_.Devices().At(device).TypeValue()) < 0) {
        session_.Prompts().ShowError(
            QStringLiteral("%1 is of an unknown type; it has no configuration to save")
                .arg(session_.Describe(device)));
        return ExitFailure;
    }
    const bool answered = session_.Exchange(
        device, CommandRead, [&](TServeur& serveur, QObject* target, TServeur::ReplyHandler handler) {
            serveur.ReadAll(session_.Devices().At(device), target, std::move(handler));
        });
    if (!answered) {
        ShowError(session_.Prompts(), ErrorDeviceNotResponding);
        return ExitFailure;
    }
    QString error;
    if (!ConfigFileStore(registry).Save(path, session_.Devices().At(device), &error)) {
        session_.Prompts().ShowError(error);
        return ExitFailure;
    }
    session_.Out() << QStringLiteral("%1: saved into %2").arg(session_.Describe(device), path) << Qt::endl;
    return ExitOk;
}

} // namespace olg::cli
