#include "DeviceRegistry.h"

#include "Catalogue.h"
#include "ModelDescription.h"

#include <algorithm>
#include <limits>

namespace olg {

void DeviceRegistry::RegisterDeviceType(std::uint32_t typeCode, const TConfigFile& params,
                                        std::uint8_t webScheme, std::uint8_t hasAdminPage,
                                        std::string model) {
    std::uint16_t maxId = 0;
    for (const auto& descriptor : params)
        maxId = std::max(maxId, descriptor.Id);
    std::vector<std::int16_t> first(static_cast<std::size_t>(maxId) + 1, -1);
    for (std::size_t i = 0; i < params.size(); ++i) {
        auto& slot = first[params[i].Id];
        if (slot < 0)
            slot = static_cast<std::int16_t>(i);
    }
    entries_.push_back(TConfigDevice{typeCode, params, webScheme, hasAdminPage, std::move(model)});
    firstDescriptor_.push_back(std::move(first));
    maxId_.push_back(maxId);
}

int DeviceRegistry::FindDeviceType(const ParamValue& typeValue) const {
    if (!typeValue.IsInteger())
        return -1;
    const std::int64_t value = typeValue.AsInteger();
    // The wire keeps a 32-bit code as a signed bit pattern; any number outside 32 bits names no type.
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::uint32_t>::max())
        return -1;
    const auto code = static_cast<std::uint32_t>(value);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].TypeCode == code)
            return static_cast<int>(i);
    return -1;
}

const ParamDescriptor* DeviceRegistry::Find(int id, const ParamValue& typeValue) const {
    const int index = FindDeviceType(typeValue);
    if (index < 0 || id < 0)
        return nullptr;
    const auto& first = firstDescriptor_[static_cast<std::size_t>(index)];
    if (id >= static_cast<int>(first.size()) || first[static_cast<std::size_t>(id)] < 0)
        return nullptr;
    return &entries_[static_cast<std::size_t>(index)].Params[static_cast<std::size_t>(first[id])];
}

std::uint8_t DeviceRegistry::ParamKind(int id, const ParamValue& typeValue) const {
    if (const std::uint8_t builtIn = BuiltInKind(id))
        return builtIn;
    const auto* descriptor = Find(id, typeValue);
    // Bit 7 of the kind byte carries no meaning.
    return descriptor ? static_cast<std::uint8_t>(descriptor->Kind & 0x7F) : KindNone;
}

std::uint8_t DeviceRegistry::ParamAccess(int id, const ParamValue& typeValue) const {
    const auto* descriptor = Find(id, typeValue);
    return descriptor ? descriptor->Access : AccessRead;
}

bool DeviceRegistry::IsGeneralParam(int id, const ParamValue& typeValue) const {
    const auto* descriptor = Find(id, typeValue);
    return descriptor && descriptor->General != 0;
}

bool DeviceRegistry::HasParam(int id, const ParamValue& typeValue) const {
    return Find(id, typeValue) != nullptr;
}

std::uint16_t DeviceRegistry::MaxParamId(const ParamValue& typeValue) const {
    const int index = FindDeviceType(typeValue);
    return index < 0 ? 0 : maxId_[static_cast<std::size_t>(index)];
}

DeviceRegistry StandardRegistry() {
    DeviceRegistry registry;
    for (const ModelDescription& model : ModelDescriptions())
        for (const ModelType& type : model.Types)
            registry.RegisterDeviceType(type.TypeCode, model.Params, type.WebScheme, model.HasAdminPage,
                                        model.Model);
    return registry;
}

} // namespace olg
