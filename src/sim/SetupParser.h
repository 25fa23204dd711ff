#pragma once

#include "DeviceSpecParser.h"
#include "SimulatorSetup.h"

#include "DeviceRegistry.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace olg::sim {

// olgsim's command line, and the settings its configuration file gives, into a SimulatorSetup. Plain C++, so
// that it can be fuzzed without Qt; the reading of the JSON file is left to the caller.
class SetupParser {
public:
    enum class Outcome { Run, Help, Version, Error };
    // Reads the configuration file at the path (UTF-8) into the parser through its Set and Add calls; false
    // after Fail.
    using ConfigReader = std::function<bool(const std::string& path, SetupParser& parser)>;

    explicit SetupParser(const DeviceRegistry& registry) : registry_(registry) {}

    // The arguments after the program's name, in UTF-8. The configuration file's devices come first, then
    // those of --device, then the fleet; the command line's settings win over the file's.
    Outcome Parse(const std::vector<std::string>& arguments, const ConfigReader& readConfig);

    bool SetListen(std::string_view text);
    bool SetReplyBase(std::string_view text);
    void SetBroadcastReplies(bool on) { setup_.BroadcastReplies = on; }
    void SetStatePath(std::string path) { setup_.StatePath = std::move(path); }
    // One device from its keys (texts as Windows-1252 bytes); where tells the origin in a message.
    bool AddDevice(const KeyValues& pairs, std::string_view where);
    bool AddFleet(long long count, long long first, std::string_view firstIp, std::string_view faults);
    bool Fail(std::string message);
    // The script read from the file --script names: every action must name a device, and on loopback keep
    // its address inside 127.0.0.0/8.
    bool SetScript(DeviceScript script);

    const SimulatorSetup& Setup() const { return setup_; }
    // The reason of an Error.
    const std::string& Message() const { return message_; }

private:
    bool ResolveAddresses();

    const DeviceRegistry& registry_;
    SimulatorSetup setup_;
    std::string message_;
};

} // namespace olg::sim
