#pragma once

#include "ParamValue.h"
#include "TConfigDevice.h"

#include <cstdint>
#include <vector>

namespace olg {

// The registered device types in registration order, and the catalogue queries over them.
// Every query takes the device's type value (its parameter 13) and answers from the table of the first
// entry with that type code; an unknown type, an empty value or an id outside the table gives the defaults.
class DeviceRegistry {
public:
    void RegisterDeviceType(std::uint32_t typeCode, const TConfigFile& params, std::uint8_t webScheme,
                            std::uint8_t hasAdminPage, std::string model);

    // Index of the first entry whose type code equals the value, or -1.
    int FindDeviceType(const ParamValue& typeValue) const;

    std::uint8_t ParamKind(int id, const ParamValue& typeValue) const;
    std::uint8_t ParamAccess(int id, const ParamValue& typeValue) const;
    bool IsGeneralParam(int id, const ParamValue& typeValue) const;
    bool HasParam(int id, const ParamValue& typeValue) const;
    std::uint16_t MaxParamId(const ParamValue& typeValue) const;

    const std::vector<TConfigDevice>& Entries() const { return entries_; }
    const TConfigDevice& Entry(int index) const { return entries_.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(entries_.size()); }

private:
    // The first descriptor of the id in the type's table, or nullptr.
    const ParamDescriptor* Find(int id, const ParamValue& typeValue) const;

    std::vector<TConfigDevice> entries_;
    // Per entry: position of the first descriptor of each id (index = id), -1 where the table has none.
    std::vector<std::vector<std::int16_t>> firstDescriptor_;
    std::vector<std::uint16_t> maxId_;
};

// The eleven device types the program knows, in their registration order.
DeviceRegistry StandardRegistry();

} // namespace olg
