#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace olg {

// One thing that happens to a simulated device: it goes silent (as if unplugged), answers again, or has
// settings changed (name, ip, fw or paramN, as text).
struct DeviceAction {
    enum class Kind { Silent, Answer, Set };
    Kind What = Kind::Silent;
    std::uint64_t Mac = 0;
    std::vector<std::pair<std::string, std::string>> Settings;
    // Milliseconds after the script's start; 0 for a command given on its own.
    std::int64_t AtMs = 0;
    // Line of the script, for messages; 0 for a command.
    int Line = 0;
};

// A script of timed device actions, one a line:
//   SECONDS silent MAC | SECONDS answer MAC | SECONDS set MAC KEY=VALUE[,KEY=VALUE...] | repeat SECONDS
// "#" starts a comment. With repeat, the script starts over every SECONDS. Plain text in, no I/O, so that
// anything a file holds is refused with a message naming its line.
class DeviceScript {
public:
    // The actions in the order of their times (lines with equal times in file order).
    std::vector<DeviceAction> Actions;
    // 0: the script runs once.
    std::int64_t RepeatMs = 0;

    // The most a script holds: it is read whole into memory.
    static constexpr std::size_t MaxActions = 100000;
    static constexpr std::int64_t MaxMs = 7 * 24 * 3600 * 1000LL;

    static std::optional<DeviceScript> Parse(std::string_view text, std::string& error);
    // One action without its time ("silent MAC", "set MAC name=X"), as typed on a console.
    static std::optional<DeviceAction> ParseCommand(std::string_view line, std::string& error);
};

} // namespace olg
