#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace olg {

// What the build number of the program's own version decides.
struct DistributionVariant {
    // False for a build number of no distribution: the controls then keep their state.
    bool Known = false;
    std::uint16_t DistributorCode = 0x1325;
    // Label printing, the Options dialog, Upgrade with no device listed and a free upgrade target.
    bool FullFeatures = false;
    // The about box's links; empty ones are left out.
    std::string WebAddress;
    std::string MailAddress;
};

// The variant of the version's build part ("4" of 1.8.0.4), compared as exact text.
DistributionVariant SelectDistribution(std::string_view build);

} // namespace olg
