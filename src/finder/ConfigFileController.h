#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "Prompts.h"
#include "TServeur.h"

#include <QObject>

namespace olg {

// Saves a device's configuration into a ".cfg" file, read afresh from the device first, and loads one into
// a device's record for its dialog to write.
class ConfigFileController : public QObject {
    Q_OBJECT

public:
    // The read before a save goes through the window's reply handler, so the list shows what it brought.
    ConfigFileController(DeviceList& devices, const DeviceRegistry& registry, TServeur& serveur,
                         Prompts& prompts, TServeur::ReplyHandler replyHandler, QObject* parent);

    // What was done, for the status bar; empty when nothing was saved.
    QString Save(int index);
    // Asks for a file and loads it into the record of the device at this index; the device's list index
    // then, or -1 when nothing was loaded.
    int Load(int index, QString* fileName);

    // The reply handler of the read before a save, and the file of one listed record.
    void SaveReply(const QString& sender, quint16 port, const QByteArray& datagram, bool complete);
    bool WriteConfigFile(const QString& fileName, int index);
    bool ReadConfigFile(const QString& fileName, int index);

private:
    DeviceList& devices_;
    const DeviceRegistry& registry_;
    TServeur& serveur_;
    Prompts& prompts_;
    TServeur::ReplyHandler replyHandler_;
    // The read before a save: the device read and whether it answered.
    DeviceIdentity readIdentity_{};
    bool replyReceived_ = false;
};

} // namespace olg
