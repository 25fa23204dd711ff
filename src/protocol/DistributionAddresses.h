#pragma once

#include <string_view>

namespace olg {

// The addresses the about box links to, per distribution: configuration values of the distributions, kept
// here and nowhere else.
struct DistributionAddresses {
    static constexpr std::string_view ProductWeb = "https://www.example.com/eoutletguard";
    static constexpr std::string_view ProductMail = "info@example.com";
    static constexpr std::string_view MakerWeb = "https://www.example.net";
    static constexpr std::string_view MakerMail = "support@example.net";
};

} // namespace olg
