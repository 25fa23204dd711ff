#include "ModelDescription.h"

#include "FirmwareVersion.h"

namespace olg {

Features ModelDescription::FeaturesFor(const ParamValue& firmware) const {
    const std::uint32_t version = FirmwareVersion(firmware, VersionNote);
    Features features = Always;
    for (const FirmwareThreshold& threshold : Thresholds)
        if (version >= threshold.From)
            features |= threshold.Adds;
    return features;
}

const ModelDescription* FindModelDescription(std::string_view model) {
    for (const ModelDescription& description : ModelDescriptions())
        if (description.Model == model)
            return &description;
    return nullptr;
}

} // namespace olg
