#include "Distribution.h"

#include "TVersionInfo.h"

namespace olg {

Distribution Distribution::Of(const QString& executableFile) {
    const DistributionVariant variant = TVersionInfo::Distribution(executableFile);
    Distribution distribution;
    if (!variant.Known)
        return distribution;
    distribution.Known = true;
    distribution.DistributorCode = variant.DistributorCode;
    distribution.FullFeatures = variant.FullFeatures;
    distribution.AboutWebAddress = QString::fromStdString(variant.WebAddress);
    distribution.AboutMailAddress = QString::fromStdString(variant.MailAddress);
    return distribution;
}

} // namespace olg
