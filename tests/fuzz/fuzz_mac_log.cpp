// The MAC log is a text file anyone may edit: any bytes split into lines that join back to the same lines,
// and an entry is added to them, or refused as a duplicate exactly when a line begins with its MAC text.

#include "MacLog.h"

#include <algorithm>
#include <cstdlib>

using namespace olg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines = MacLog::SplitLines(bytes);
    if (MacLog::SplitLines(MacLog::JoinLines(lines)) != lines)
        std::abort();
    // The first bytes as the MAC text, the rest as the model name.
    const MacLog::Entry entry{std::string(bytes.substr(0, 17)), "01/02/2026 10:00",
                              std::string(bytes.substr(std::min<std::size_t>(size, 17), 40)), "1.4.0.0"};
    const bool duplicate = std::any_of(
        lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(entry.MacText); });
    const std::size_t count = lines.size();
    if (MacLog::Append(lines, entry) == duplicate)
        std::abort();
    if (!duplicate &&
        (lines.size() != (count == 0 ? 2 : count) + 1 || !lines.back().starts_with(entry.MacText)))
        std::abort();
    return 0;
}
