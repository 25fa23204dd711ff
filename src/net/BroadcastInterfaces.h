#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace olg {

// The host's network interfaces that a LAN broadcast can leave through: up, able to broadcast, not loopback,
// with an IPv4 address. A host on several networks (Wi-Fi and a service LAN, a management NIC) sends its
// broadcasts out of each of them, since the system sends 255.255.255.255 out of one only.
class BroadcastInterfaces {
public:
    struct Interface {
        int Index = 0;
        QString Name;
    };

    // The interfaces as they are now; only those named when a list of names is given.
    static QList<Interface> List(const QStringList& only = {});
    // Why a name given by the user cannot be used, or the empty text.
    static QString Check(const QString& name);

    // The name of the interface with this index, remembered once asked: replies come by the thousand.
    QString NameOf(int index);

private:
    QHash<int, QString> names_;
};

} // namespace olg
