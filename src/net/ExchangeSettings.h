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
};

struct Endpoint {
    QHostAddress Address;
    quint16 Port = 0;
};

// "ADDR:PORT" with a dotted IPv4 address and a port 1..65535, or nothing.
std::optional<Endpoint> ParseEndpoint(const QString& text);

} // namespace olg
