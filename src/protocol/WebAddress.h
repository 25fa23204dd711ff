#pragma once

#include <cstdint>
#include <string>

namespace olg {

// Which of a device's web pages to open.
enum class WebPage { Home, Administration };

// The address of a device's web page: its address, the web server port (parameter 4; 0 when never
// received), its configuration flags (parameter 6; bit 7 asks for HTTPS) and the web scheme of its type.
// Port 0 and 80 are left out, and an HTTPS address never carries a port: the devices serve HTTPS on 443 only.
std::string WebAddress(const std::string& address, std::int64_t port, std::int64_t flags,
                       std::uint8_t webScheme, WebPage page);

} // namespace olg
