// A label's text comes from a device (its MAC) or a user: any text is encoded or refused, and an encoded one
// has start, check and stop characters and the width of its symbols.

#include "Code128.h"

#include <cstdlib>
#include <numeric>

using namespace olg;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<std::vector<int>> values = Code128::Encode(text);
    if (!values)
        return 0;
    if (values->size() != size + 3 || values->front() != Code128::StartA || values->back() != Code128::Stop)
        std::abort();
    const std::vector<std::uint8_t> widths = Code128::ModuleWidths(*values);
    const std::size_t modules = std::accumulate(widths.begin(), widths.end(), std::size_t{0});
    if (modules != Code128::CharacterModules * (size + 2) + Code128::StopModules)
        std::abort();
    return 0;
}
