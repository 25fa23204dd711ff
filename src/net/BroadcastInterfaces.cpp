#include "BroadcastInterfaces.h"

#include <QNetworkInterface>

#include <algorithm>

namespace olg {

namespace {

bool CanBroadcast(const QNetworkInterface& interface) {
    const QNetworkInterface::InterfaceFlags flags = interface.flags();
    if (!flags.testFlag(QNetworkInterface::IsUp) || !flags.testFlag(QNetworkInterface::CanBroadcast) ||
        flags.testFlag(QNetworkInterface::IsLoopBack))
        return false;
    const QList<QNetworkAddressEntry> entries = interface.addressEntries();
    return std::any_of(entries.begin(), entries.end(), [](const QNetworkAddressEntry& entry) {
        return entry.ip().protocol() == QAbstractSocket::IPv4Protocol;
    });
}

} // namespace

QList<BroadcastInterfaces::Interface> BroadcastInterfaces::List(const QStringList& only) {
    QList<Interface> interfaces;
    for (const QNetworkInterface& interface : QNetworkInterface::allInterfaces()) {
        if (CanBroadcast(interface) && (only.isEmpty() || only.contains(interface.name())))
            interfaces.append(Interface{interface.index(), interface.name()});
    }
    return interfaces;
}

QString BroadcastInterfaces::Check(const QString& name) {
    const QNetworkInterface interface = QNetworkInterface::interfaceFromName(name);
    if (!interface.isValid())
        return QStringLiteral("there is no network interface \"%1\"").arg(name);
    if (!CanBroadcast(interface))
        return QStringLiteral("network interface \"%1\" is not up with an IPv4 address and broadcast")
            .arg(name);
    return {};
}

QString BroadcastInterfaces::NameOf(int index) {
    if (index <= 0)
        return {};
    auto found = names_.find(index);
    if (found == names_.end())
        found = names_.insert(index, QNetworkInterface::interfaceNameFromIndex(index));
    return *found;
}

} // namespace olg
