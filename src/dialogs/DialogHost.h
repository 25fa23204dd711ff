#pragma once

#include <QByteArray>
#include <QString>

namespace olg {

class DeviceList;
class Prompts;
class TServeur;

// What a configuration dialog needs of the main window that runs it: the device list it copies its record
// from and back into, the one exchange, the prompts, and the handler that merges every reply into the list.
class DialogHost {
public:
    virtual ~DialogHost() = default;

    virtual DeviceList& Devices() = 0;
    virtual TServeur& Serveur() = 0;
    virtual Prompts& UserPrompts() = 0;
    // Decodes one reply into the device list (the main window's own reply handler).
    virtual void DeviceReply(const QString& sender, quint16 port, const QByteArray& datagram,
                             bool complete) = 0;
};

} // namespace olg
