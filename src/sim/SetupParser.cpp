#include "SetupParser.h"

#include "FleetGenerator.h"

#include "IPAddrUtils.h"
#include "IpText.h"
#include "MacAddress.h"
#include "Windows1252.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <map>

namespace olg::sim {

namespace {

constexpr std::uint32_t LoopbackNetwork = 0x7F000000u;
constexpr std::uint32_t LoopbackLast = 0x7FFFFFFEu;   // 127.255.255.255 is the loopback net's broadcast
constexpr std::uint32_t DefaultFirstIp = 0xC0A80164u; // 192.168.1.100
constexpr long long MaxFleet = 100000;

struct Option {
    std::string_view Name;
    bool TakesValue;
};

constexpr Option Options[] = {
    {"help", false},        {"version", false}, {"device", true},       {"fleet", true},
    {"fleet-offset", true}, {"fleet-ip", true}, {"fleet-faults", true}, {"config", true},
    {"state", true},        {"listen", true},   {"reply-base", true},   {"broadcast-replies", false},
    {"tftp-port", true},    {"ftp-port", true}, {"script", true},       {"commands", false},
};

std::optional<std::uint32_t> Address(std::string_view text) {
    try {
        ValidateIPString(text);
    } catch (const IPStringError&) {
        return std::nullopt;
    }
    return TextToIp(text);
}

// A decimal number, nothing else.
std::optional<long long> Number(std::string_view text) {
    long long number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

bool IsLoopback(std::uint32_t address) {
    return (address & 0xFF000000u) == LoopbackNetwork;
}

} // namespace

bool SetupParser::Fail(std::string message) {
    message_ = std::move(message);
    return false;
}

SetupParser::Outcome SetupParser::Parse(const std::vector<std::string>& arguments,
                                        const ConfigReader& readConfig) {
    // Every value of each option given, in order; a later value of a single one wins.
    std::map<std::string, std::vector<std::string>, std::less<>> given;
    std::vector<std::string> positional;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument.front() != '-') {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        const std::size_t equals = argument.find('=');
        const std::size_t start = argument.starts_with("--") ? 2 : 1;
        const std::string name =
            argument.substr(start, equals == std::string::npos ? equals : equals - start);
        const auto* option = std::find_if(std::begin(Options), std::end(Options),
                                          [&](const Option& known) { return known.Name == name; });
        if (!argument.starts_with("--") || option == std::end(Options)) {
            Fail("Unknown option '" + name + "'.");
            return Outcome::Error;
        }
        if (!option->TakesValue && equals != std::string::npos) {
            Fail("Unexpected value after '--" + name + "'.");
            return Outcome::Error;
        }
        if (option->TakesValue && equals == std::string::npos && i + 1 == arguments.size()) {
            Fail("Missing value after '--" + name + "'.");
            return Outcome::Error;
        }
        given[name].push_back(!option->TakesValue           ? std::string()
                              : equals != std::string::npos ? argument.substr(equals + 1)
                                                            : arguments[++i]);
    }
    if (given.contains("help"))
        return Outcome::Help;
    if (given.contains("version"))
        return Outcome::Version;
    if (!positional.empty()) {
        Fail("unexpected argument: " + positional.front());
        return Outcome::Error;
    }
    const auto value = [&given](std::string_view name) -> std::optional<std::string> {
        const auto found = given.find(name);
        return found == given.end() ? std::nullopt : std::optional(found->second.back());
    };

    bool ok = !value("config") || readConfig(*value("config"), *this);
    for (const std::string& keys : given["device"]) {
        // Device texts are Windows-1252 bytes, as on the devices.
        if (ok)
            ok = AddDevice(DeviceSpecParser::Split(Utf8ToWindows1252Lossy(keys)), "--device " + keys);
    }
    if (ok && value("fleet")) {
        const std::optional<long long> count = Number(*value("fleet"));
        const std::optional<long long> offset = value("fleet-offset") ? Number(*value("fleet-offset")) : 0;
        if (!count || *count < 0 || *count > MaxFleet || !offset || *offset < 0)
            ok = Fail("--fleet and --fleet-offset take a count");
        else
            ok =
                AddFleet(*count, *offset, value("fleet-ip").value_or(""), value("fleet-faults").value_or(""));
    }
    if (ok && value("listen"))
        ok = SetListen(*value("listen"));
    if (ok && value("reply-base"))
        ok = SetReplyBase(*value("reply-base"));
    if (given.contains("broadcast-replies"))
        setup_.BroadcastReplies = true;
    if (value("state"))
        setup_.StatePath = *value("state");
    setup_.ScriptPath = value("script").value_or("");
    setup_.CommandsOnStdin = given.contains("commands");
    for (const auto& [name, port] :
         {std::pair{"tftp-port", &setup_.TftpPort}, std::pair{"ftp-port", &setup_.FtpPort}}) {
        if (!ok || !value(name))
            continue;
        const std::optional<long long> number = Number(*value(name));
        if (!number || *number < 1 || *number > 65535)
            ok = Fail(std::string("--") + name + " takes a port from 1 to 65535");
        else
            *port = static_cast<std::uint16_t>(*number);
    }
    if (ok && setup_.BroadcastReplies && setup_.ReplyBase)
        ok = Fail("--broadcast-replies is for real mode; loopback mode answers each requester");
    if (ok)
        ok = ResolveAddresses();
    return ok ? Outcome::Run : Outcome::Error;
}

bool SetupParser::SetListen(std::string_view text) {
    const std::size_t colon = text.rfind(':');
    const std::optional<long long> port =
        colon == std::string_view::npos ? std::nullopt : Number(text.substr(colon + 1));
    const std::optional<std::uint32_t> address =
        colon == std::string_view::npos ? std::nullopt : Address(text.substr(0, colon));
    if (!port || *port < 0 || *port > 65535 || !address)
        return Fail("--listen needs ADDR:PORT with an IPv4 address: " + std::string(text));
    setup_.ListenAddress = *address;
    setup_.ListenPort = static_cast<std::uint16_t>(*port);
    return true;
}

bool SetupParser::SetReplyBase(std::string_view text) {
    const std::optional<std::uint32_t> address = Address(text);
    if (!address || !IsLoopback(*address))
        return Fail("--reply-base must be an address in 127.0.0.0/8: " + std::string(text));
    setup_.ReplyBase = *address;
    return true;
}

bool SetupParser::AddFleet(long long count, long long first, std::string_view firstIp,
                           std::string_view faults) {
    if (count < 0 || count > MaxFleet || first < 0 || first > std::numeric_limits<int>::max() - count)
        return Fail("a fleet has 0 to 100000 devices, numbered from 0 on");
    std::optional<std::uint32_t> ip;
    if (!firstIp.empty()) {
        ip = Address(firstIp);
        if (!ip)
            return Fail("bad fleet address: " + std::string(firstIp));
    }
    DeviceFaults fleetFaults;
    for (const auto& [key, value] : DeviceSpecParser::Split(faults)) {
        std::string error;
        bool known = false;
        if (!DeviceSpecParser::ParseFault(key, value, fleetFaults, error, known))
            return Fail("fleet faults: " + (known ? error : "unknown fault switch " + key));
    }
    const auto generated = FleetGenerator::Generate(static_cast<int>(count), static_cast<int>(first), ip,
                                                    fleetFaults, registry_);
    setup_.Devices.insert(setup_.Devices.end(), generated.begin(), generated.end());
    return true;
}

bool SetupParser::AddDevice(const KeyValues& pairs, std::string_view where) {
    DeviceConfig config;
    config.Serial = static_cast<int>(setup_.Devices.size());
    std::string error;
    if (!DeviceSpecParser::Parse(pairs, config, error))
        return Fail(std::string(where) + ": " + error);
    setup_.Devices.push_back(std::move(config));
    return true;
}

bool SetupParser::SetScript(DeviceScript script) {
    for (const DeviceAction& action : script.Actions) {
        const auto named = [&action](const DeviceConfig& device) { return device.Mac == action.Mac; };
        const std::string line = "script line " + std::to_string(action.Line) + ": ";
        if (std::none_of(setup_.Devices.begin(), setup_.Devices.end(), named))
            return Fail(line + "no device has the MAC " + FormatMac("-", action.Mac));
        for (const auto& [key, value] : action.Settings)
            if (key == "ip" && setup_.ReplyBase && !IsLoopback(TextToIp(value)))
                return Fail(line + "on loopback a device's address stays in 127.0.0.0/8");
    }
    setup_.Script = std::move(script);
    return true;
}

bool SetupParser::ResolveAddresses() {
    const auto count = static_cast<std::uint32_t>(setup_.Devices.size());
    if (setup_.ReplyBase && count > 0 && LoopbackLast - *setup_.ReplyBase < count - 1)
        return Fail(std::to_string(count) + " devices do not fit between --reply-base " +
                    IpToText(*setup_.ReplyBase) + " and 127.255.255.254");
    for (std::uint32_t i = 0; i < count; ++i) {
        DeviceConfig& config = setup_.Devices[i];
        if (config.Ip)
            continue;
        // On loopback a device lives at its answering address, so its pages and upgrade services are
        // reached there too.
        config.Ip = setup_.ReplyBase ? *setup_.ReplyBase + i
                                     : FleetGenerator::NthHostAddress(DefaultFirstIp, static_cast<int>(i));
    }
    return true;
}

} // namespace olg::sim
