// The main window's actions that save a device's configuration into a ".cfg" file and load one into a device.

#include "ParamIds.h"
#include "TFormMain.h"

#include "BusyCursor.h"

#include "ConfigFileStore.h"
#include "Datagram.h"
#include "DeviceText.h"
#include "ErrorBox.h"

#include <QGuiApplication>

namespace olg {

namespace {

FileDialogRequest ConfigFileDialog(const QString& title, const QString& fileName) {
    return {title, fileName, QStringLiteral("cfg"), QStringLiteral("Config files (*.cfg);;All files (*)")};
}

} // namespace

void TFormMain::SaveClick() {
    if (devices_.Empty() || registry_.FindDeviceType(devices_.At(selectedDevice_).TypeValue()) < 0)
        return;
    // The list may change while a dialog or the read waits (a scan empties it), so the device is found
    // again by its identity after each wait.
    readIdentity_ = devices_.At(selectedDevice_).Identity;
    const QString model = DeviceText::Decode(devices_.At(selectedDevice_).Value(param::ModelName).AsText());
    QString proposed = model + QStringLiteral(".cfg");
    proposed.replace(QLatin1Char('/'), QLatin1Char('_'));
    const QString fileName =
        prompts_.AskSaveFileName(ConfigFileDialog(QStringLiteral("Save ") + model, proposed));
    if (fileName.isEmpty() || devices_.Find(readIdentity_) < 0)
        return;

    replyReceived_ = false;
    {
        const BusyCursor wait;
        serveur_->ReadAll(devices_.At(devices_.Find(readIdentity_)), this,
                          [this](const QString& sender, quint16 port, const QByteArray& datagram,
                                 bool complete) { SaveReply(sender, port, datagram, complete); });
    }
    const int index = devices_.Find(readIdentity_);
    if (!replyReceived_ || index < 0) {
        if (!serveur_->SendFailed())
            ShowError(prompts_, ErrorDeviceNotResponding);
        return;
    }
    WriteConfigFile(fileName, index);
}

void TFormMain::SaveReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete) {
    DeviceReply(sender, port, datagram, complete);
    // Only the device itself counts as an answer: another device's datagram would leave the file with
    // default values in place of the ones never read.
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(datagram.constData());
    if (complete && static_cast<std::size_t>(datagram.size()) >= SourceOffset + readIdentity_.size() &&
        std::equal(readIdentity_.begin(), readIdentity_.end(), bytes + SourceOffset))
        replyReceived_ = true;
}

bool TFormMain::WriteConfigFile(const QString& fileName, int index) {
    QString error;
    if (!ConfigFileStore(registry_).Save(fileName, devices_.At(index), &error)) {
        prompts_.ShowError(error);
        return false;
    }
    return true;
}

void TFormMain::LoadClick() {
    const DialogFactory::Runner* runner = SelectedRunner();
    if (!runner)
        return;
    const DeviceIdentity identity = devices_.At(selectedDevice_).Identity;
    const QString fileName = prompts_.AskOpenFileName(ConfigFileDialog(QStringLiteral("Open Config"), {}));
    const int index = devices_.Find(identity);
    if (fileName.isEmpty() || index < 0)
        return;
    bool loaded = false;
    {
        const BusyCursor wait;
        loaded = ReadConfigFile(fileName, index);
    }
    // A confirmed dialog has written the device, so its row and those of its neighbours may have changed.
    if (loaded && (*runner)(this, index, DialogFactory::Run::Loaded) == 1)
        Scan();
}

bool TFormMain::ReadConfigFile(const QString& fileName, int index) {
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
