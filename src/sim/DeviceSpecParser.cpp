#include "DeviceSpecParser.h"

#include "ParameterFiller.h"

#include "IPAddrUtils.h"
#include "IpText.h"
#include "MacAddress.h"

#include <charconv>

namespace olg::sim {

namespace {

bool ParseFlag(std::string_view value, bool& flag) {
    if (value == "1" || value == "true" || value == "yes" || value == "on") {
        flag = true;
        return true;
    }
    if (value == "0" || value == "false" || value == "no" || value == "off") {
        flag = false;
        return true;
    }
    return false;
}

bool ParseAddress(std::string_view text, std::uint32_t& address) {
    try {
        ValidateIPString(text);
    } catch (const IPStringError&) {
        return false;
    }
    address = TextToIp(text);
    return true;
}

} // namespace

KeyValues DeviceSpecParser::Split(std::string_view text) {
    KeyValues pairs;
    while (!text.empty()) {
        const std::size_t comma = text.find(',');
        const std::string_view part = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        if (part.empty())
            continue;
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos)
            pairs.emplace_back(std::string(part), "1");
        else
            pairs.emplace_back(std::string(part.substr(0, equals)), std::string(part.substr(equals + 1)));
    }
    return pairs;
}

bool DeviceSpecParser::ParseNumber(std::string_view text, std::uint64_t limit, std::uint64_t& number) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && number <= limit;
}

bool DeviceSpecParser::ParseFault(std::string_view key, std::string_view value, DeviceFaults& faults,
                                  std::string& error, bool& known) {
    known = true;
    bool ok = true;
    if (key == "noanswer") {
        ok = ParseFlag(value, faults.NoAnswer);
    } else if (key == "garbled") {
        ok = ParseFlag(value, faults.Garbled);
    } else if (key == "truncated") {
        ok = ParseFlag(value, faults.Truncated);
    } else if (key == "wronglengths") {
        ok = ParseFlag(value, faults.WrongLengths);
    } else if (key == "nonmac") {
        ok = ParseFlag(value, faults.NonMacIdentity);
    } else if (key == "nowrites") {
        ok = ParseFlag(value, faults.IgnoreWrites);
    } else if (key == "tftp-nolastack") {
        ok = ParseFlag(value, faults.TftpNoLastAck);
    } else if (key == "tftp-error") {
        ok = ParseFlag(value, faults.TftpError);
    } else if (key == "tftp-silent") {
        ok = ParseFlag(value, faults.TftpSilent);
    } else if (key == "tftp-corrupt") {
        ok = ParseFlag(value, faults.TftpCorrupt);
    } else if (key == "tftp-endless") {
        ok = ParseFlag(value, faults.TftpEndless);
    } else if (key == "ftp-badlogin") {
        ok = ParseFlag(value, faults.FtpBadLogin);
    } else if (key == "ftp-storefail") {
        ok = ParseFlag(value, faults.FtpStoreFails);
    } else if (key == "ftp-silent") {
        ok = ParseFlag(value, faults.FtpSilent);
    } else if (key == "delay") {
        std::uint64_t ms = 0;
        ok = ParseNumber(value, 600000, ms);
        faults.DelayMs = static_cast<int>(ms);
    } else if (key == "drop") {
        double share = 0;
        const auto [end, status] = std::from_chars(value.data(), value.data() + value.size(), share);
        ok = status == std::errc() && end == value.data() + value.size() && share >= 0.0 && share <= 1.0;
        faults.DropShare = share;
    } else {
        known = false;
        return false;
    }
    if (!ok)
        error = "bad value for " + std::string(key) + ": " + std::string(value);
    return ok;
}

bool DeviceSpecParser::Parse(const KeyValues& pairs, DeviceConfig& config, std::string& error) {
    for (const auto& [key, value] : pairs) {
        bool ok = true;
        if (key == "type") {
            std::uint64_t code = 0;
            ok = ParseNumber(value, 0xFFFFFFFFull, code);
            config.TypeCode = static_cast<std::uint32_t>(code);
        } else if (key == "mac") {
            const auto mac = ParseMac(value);
            ok = mac.has_value();
            config.Mac = mac.value_or(0);
        } else if (key == "ip") {
            std::uint32_t address = 0;
            ok = ParseAddress(value, address);
            config.Ip = address;
        } else if (key == "fw") {
            config.Firmware = value;
        } else if (key == "name") {
            config.Name = value;
        } else if (key == "model") {
            config.Model = value;
        } else if (key == "upgrade") {
            ok = value == "tftp" || value == "ftp" || value == "none";
            config.Upgrade = value == "tftp"  ? UpgradeAnswer::Tftp
                             : value == "ftp" ? UpgradeAnswer::Ftp
                                              : UpgradeAnswer::None;
        } else if (key == "ftpfiles") {
            // Names joined by '+': what the device's FTP store holds at start.
            config.FtpFiles.clear();
            std::string_view rest = value;
            while (!rest.empty()) {
                const std::size_t plus = rest.find('+');
                if (plus != 0)
                    config.FtpFiles.emplace_back(rest.substr(0, plus));
                rest = plus == std::string_view::npos ? std::string_view() : rest.substr(plus + 1);
            }
        } else if (key.starts_with("param")) {
            std::uint64_t id = 0;
            ok = ParseNumber(std::string_view(key).substr(5), 999, id) && id >= 1;
            config.Overrides[static_cast<int>(id)] = value;
        } else {
            bool known = false;
            if (!ParseFault(key, value, config.Faults, error, known)) {
                if (!known)
                    error = "unknown device key: " + key;
                return false;
            }
        }
        if (!ok) {
            error = "bad value for " + key + ": " + value;
            return false;
        }
    }
    if (config.Mac == 0) {
        error = "a device needs a mac";
        return false;
    }
    return true;
}

} // namespace olg::sim
