#include "OwnAddresses.h"

#include <QNetworkInterface>

namespace olg {

namespace {
constexpr qint64 MaxAgeMs = 1000;
}

bool OwnAddresses::Contains(const QString& dottedAddress) {
    if (!age_.isValid() || age_.elapsed() > MaxAgeMs)
        Refresh();
    return addresses_.contains(dottedAddress);
}

void OwnAddresses::Refresh() {
    addresses_.clear();
    for (const QHostAddress& address : QNetworkInterface::allAddresses()) {
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            addresses_.insert(address.toString());
    }
    age_.start();
}

} // namespace olg
