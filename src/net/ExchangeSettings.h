#pragma once

#include <QHostAddress>
#include <QString>

#include <optional>

namespace olg {

// Where the exchange listens and where it sends its requests. The defaults are those of a real LAN; tests and
// the demo move both onto loopback.
struct ExchangeSettings {
    QHostAddress BindAddress{QHostAddress::AnyIPv4};
    quint16 BindPort = 52389;
    QHostAddress TargetAddress{QHostAddress::Broadcast};
    quint16 TargetPort = 52389;
    // Where the devices serve the firmware upgrade, by TFTP and by FTP.
    quint16 TftpPort = 69;
    quint16 FtpPort = 21;

    // Takes the --bind and --target options of olgfinder and olgctl alike: ADDR:PORT with a dotted IPv4
    // address; the local port may be 0, for a free one the system chooses. Returns what is wrong with a
    // value, or the empty text when both (those given) were taken.
    QString TakeEndpointOptions(const std::optional<QString>& bind, const std::optional<QString>& target);
};

struct Endpoint {
    QHostAddress Address;
    quint16 Port = 0;
};

// "ADDR:PORT" with a dotted IPv4 address and a port 1..65535 (or 0 when a free port is allowed), or nothing.
std::optional<Endpoint> ParseEndpoint(const QString& text, bool freePortAllowed = false);

} // namespace olg
