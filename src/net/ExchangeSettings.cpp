#include "ExchangeSettings.h"

namespace olg {

QString ExchangeSettings::TakeEndpointOptions(const std::optional<QString>& bind,
                                              const std::optional<QString>& target) {
    if (bind) {
        const std::optional<Endpoint> endpoint = ParseEndpoint(*bind, true);
        if (!endpoint)
            return QStringLiteral("--bind takes ADDR:PORT (port 0 for a free one), not \"%1\"").arg(*bind);
        BindAddress = endpoint->Address;
        BindPort = endpoint->Port;
    }
    if (target) {
        const std::optional<Endpoint> endpoint = ParseEndpoint(*target);
        if (!endpoint)
            return QStringLiteral("--target takes ADDR:PORT, not \"%1\"").arg(*target);
        TargetAddress = endpoint->Address;
        TargetPort = endpoint->Port;
    }
    return {};
}

std::optional<Endpoint> ParseEndpoint(const QString& text, bool freePortAllowed) {
    const qsizetype colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return std::nullopt;
    QHostAddress address;
    if (!address.setAddress(text.left(colon)) || address.protocol() != QAbstractSocket::IPv4Protocol)
        return std::nullopt;
    bool ok = false;
    const uint port = text.mid(colon + 1).toUInt(&ok);
    if (!ok || (port == 0 && !freePortAllowed) || port > 65535)
        return std::nullopt;
    return Endpoint{address, static_cast<quint16>(port)};
}

} // namespace olg
