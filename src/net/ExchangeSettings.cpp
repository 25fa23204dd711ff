#include "ExchangeSettings.h"

namespace olg {

std::optional<Endpoint> ParseEndpoint(const QString& text) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QHostAddress address;
    if (!address.setAddress(text.left(colon)) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || port == 0 || port > 65535)
        return std::nullopt;
    return Endpoint{address, static_cast<quint16>(port)};
}

} // namespace olg
