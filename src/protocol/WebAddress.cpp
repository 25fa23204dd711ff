#include "WebAddress.h"

#include "TConfigDevice.h"

namespace olg {

namespace {

constexpr std::int64_t HttpsFlag = 0x80;
constexpr std::int64_t DefaultHttpPort = 80;

} // namespace

std::string WebAddress(const std::string& address, std::int64_t port, std::int64_t flags,
                       std::uint8_t webScheme, WebPage page) {
    const bool https =
        webScheme == WebSchemeHttps || (webScheme == WebSchemeByFlags && (flags & HttpsFlag) != 0);
    std::string url;
    if (https)
        url = "https://" + address + "/";
    else if (port == 0 || port == DefaultHttpPort)
        url = "http://" + address + "/";
    else
        url = "http://" + address + ":" + std::to_string(port) + "/";
    if (page == WebPage::Administration)
        url += "sysadmin.htm";
    return url;
}

} // namespace olg
