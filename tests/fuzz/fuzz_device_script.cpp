// A simulator script is a file anyone may hand over: any bytes parse without fault, and what is accepted
// holds its promises (actions in time order, within bounds, the repeat period after the last action).

#include "DeviceScript.h"

#include <cstdlib>

using namespace olg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    const std::optional<DeviceScript> script = DeviceScript::Parse(text, error);
    if (!script) {
        if (error.empty())
            std::abort();
        return 0;
    }
    std::int64_t previous = 0;
    for (const DeviceAction& action : script->Actions) {
        if (action.AtMs < previous || action.AtMs > DeviceScript::MaxMs || action.Line < 1 ||
            (action.What == DeviceAction::Kind::Set) == action.Settings.empty())
            std::abort();
        previous = action.AtMs;
    }
    if (script->RepeatMs < 0 || (script->RepeatMs > 0 && previous >= script->RepeatMs))
        std::abort();
    return 0;
}
