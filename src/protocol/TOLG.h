#pragma once

#include "ParamIds.h"
#include "ParamValue.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace olg {

// The eight bytes that name a device on the wire (bytes 8-15 of its replies).
using DeviceIdentity = std::array<std::uint8_t, 8>;

constexpr int MinParamId = 1;
constexpr int MaxParamIdLimit = 999;

// One device's record. Values are indexed by parameter id 1..999; the storage only grows as far as the
// highest id set, so a record that holds the few discovery parameters stays small even when thousands are
// listed.
class TOLG {
public:
    DeviceIdentity Identity{};
    std::uint64_t Mac = 0;
    std::string SenderAddress;
    // The name of the host's network interface the latest reply came in on; empty when not known. Requests
    // to the device leave through it.
    std::string Interface;

    // The value of parameter id; an empty value for an id never set or outside 1..999.
    const ParamValue& Value(int id) const;
    // Ids outside 1..999 are ignored.
    void SetValue(int id, ParamValue value);
    // The record's device type value (parameter 13), the key of every catalogue query.
    const ParamValue& TypeValue() const { return Value(param::TypeCode); }

    // Records are equal when every field and every value is, however far their storage has grown.
    bool operator==(const TOLG& other) const;

private:
    std::vector<ParamValue> values_;
};

} // namespace olg
