#include "ConfigFileController.h"

#include "BusyCursor.h"
#include "ConfigFileStore.h"
#include "Datagram.h"
#include "DeviceCaption.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "ParamIds.h"
#include "RegisteredEntry.h"

namespace olg {

namespace {

FileDialogRequest ConfigFileDialog(const QString& title, const QString& fileName) {
    return {title, fileName, QStringLiteral("cfg"), QStringLiteral("Config files (*.cfg);;All files (*)")};
}

} // namespace

ConfigFileController::ConfigFileController(DeviceList& devices, const DeviceRegistry& registry,
                                           TServeur& serveur, Prompts& prompts,
                                           TServeur::ReplyHandler replyHandler, QObject* parent)
    : QObject(parent), devices_(devices), registry_(registry), serveur_(serveur), prompts_(prompts),
      replyHandler_(std::move(replyHandler)) {}

QString ConfigFileController::Save(int index) {
    if (!RegisteredEntry(devices_, registry_, index))
        return {};
    // The list may change while a dialog or the read waits (a scan empties it), so the device is found
    // again by its identity after each wait.
    readIdentity_ = devices_.At(index).Identity;
    const QString model = DeviceText::Decode(devices_.At(index).Value(param::ModelName).AsText());
    QString proposed = model + QStringLiteral(".cfg");
    proposed.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString fileName =
        prompts_.AskSaveFileName(ConfigFileDialog(QStringLiteral("Save ") + model, proposed));
    if (fileName.isEmpty() || devices_.Find(readIdentity_) < 0)
        return {};

    replyReceived_ = false;
    {
        const BusyCursor wait;
        serveur_.ReadAll(devices_.At(devices_.Find(readIdentity_)), this,
                         [this](const QString& sender, quint16 port, const QByteArray& datagram,
                                bool complete) { SaveReply(sender, port, datagram, complete); });
    }
    const int found = devices_.Find(readIdentity_);
    if (!replyReceived_ || found < 0) {
        if (!serveur_.SendFailed())
            ShowError(prompts_, ErrorDeviceNotResponding);
        return {};
    }
    if (!WriteConfigFile(fileName, found))
        return {};
    return tr("%1: configuration saved to %2").arg(DeviceCaption(devices_.At(found)), fileName);
}

void ConfigFileController::SaveReply(const QString& sender, quint16 port, const QByteArray& datagram,
                                     bool complete) {
    replyHandler_(sender, port, datagram, complete);
    // Only the device itself counts as an answer: another device's datagram would leave the file with
    // default values in place of the ones never read.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
    if (complete && static_cast<std::size_t>(datagram.size()) >= SourceOffset + readIdentity_.size() &&
        std::equal(readIdentity_.begin(), readIdentity_.end(), bytes + SourceOffset))
        replyReceived_ = true;
}

bool ConfigFileController::WriteConfigFile(const QString& fileName, int index) {
    QString error;
    if (!ConfigFileStore(registry_).Save(fileName, devices_.At(index), &error)) {
        prompts_.ShowError(error);
        return false;
    }
    return true;
}

int ConfigFileController::Load(int index, QString* fileName) {
    if (!RegisteredEntry(devices_, registry_, index))
        return -1;
    const DeviceIdentity identity = devices_.At(index).Identity;
    *fileName = prompts_.AskOpenFileName(ConfigFileDialog(QStringLiteral("Open Config"), {}));
    const int found = devices_.Find(identity);
    if (fileName->isEmpty() || found < 0)
        return -1;
    const BusyCursor wait;
    return ReadConfigFile(*fileName, found) ? found : -1;
}

bool ConfigFileController::ReadConfigFile(const QString& fileName, int index) {
    TOLG record = devices_.At(index);
    QString error;
    // The dialog shows what the device would get, so only values that would not reach it as they stand are
    // refused.
    switch (ConfigFileStore(registry_).Load(fileName, record, ConfigProfile::Check::Review, &error)) {
    case ConfigFileStore::LoadResult::Loaded:
        devices_.Replace(index, record);
        return true;
    case ConfigFileStore::LoadResult::NotCompatible:
        ShowError(prompts_, ErrorConfigNotCompatible);
        return false;
    case ConfigFileStore::LoadResult::Failed:
        prompts_.ShowError(error);
        return false;
    }
    return false;
}

} // namespace olg
