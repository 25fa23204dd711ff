#include "DistributionVariant.h"

#include "DistributionAddresses.h"

#include <array>

namespace olg {

namespace {

enum class Links { None, Product, Maker };

struct Row {
    std::string_view Build;
    std::uint16_t DistributorCode;
    bool FullFeatures;
    Links About;
};

constexpr std::array<Row, 6> Variants{{
    {"0", 0x1325, true, Links::Product},
    {"1", 0x1525, false, Links::Product},
    {"2", 0x1425, false, Links::None},
    {"3", 0x1625, false, Links::None},
    {"4", 0x1525, false, Links::Maker},
    {"5", 0x1725, false, Links::None},
}};

} // namespace

DistributionVariant SelectDistribution(std::string_view build) {
    DistributionVariant variant;
    for (const Row& row : Variants) {
        if (row.Build != build)
            continue;
        variant.Known = true;
        variant.DistributorCode = row.DistributorCode;
        variant.FullFeatures = row.FullFeatures;
        if (row.About == Links::Product) {
            variant.WebAddress = DistributionAddresses::ProductWeb;
            variant.MailAddress = DistributionAddresses::ProductMail;
        } else if (row.About == Links::Maker) {
            variant.WebAddress = DistributionAddresses::MakerWeb;
            variant.MailAddress = DistributionAddresses::MakerMail;
        }
        break;
    }
    return variant;
}

} // namespace olg
