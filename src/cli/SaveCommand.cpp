#include "SaveCommand.h"

#include "ConfigFileStore.h"
#include "ErrorBox.h"
#include "ExitCode.h"

namespace olg::cli {

int SaveCommand::Run(const Invocation& invocation) {
    if (invocation.Arguments.size() != 2) {
        session_.Prompts().ShowError(
            QStringLiteral("save takes a DEVICE and a FILE (try olgctl save --help)"));
        return ExitUsage;
    }
    const QString& path = invocation.Arguments.at(1);
    const int device = session_.ScanAndSelect(invocation.Arguments.front());
    if (device < 0)
        return ExitFailure;
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
