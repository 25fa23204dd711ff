#pragma once

#include <cstdint>
#include <vector>

namespace olg {

// What a parameter's value is on the wire and in the record.
inline constexpr std::uint8_t KindNone = 0;
inline constexpr std::uint8_t KindIp = 1;
inline constexpr std::uint8_t KindText = 2;
inline constexpr std::uint8_t KindU8 = 3;
inline constexpr std::uint8_t KindU16 = 4;
inline constexpr std::uint8_t KindU32 = 5;
inline constexpr std::uint8_t KindSix = 6;

inline constexpr std::uint8_t AccessRead = 0;
inline constexpr std::uint8_t AccessWriteOnly = 1;
inline constexpr std::uint8_t AccessReadWrite = 2;
inline constexpr std::uint8_t AccessLogin = 3; // read-write, and two equal logins of one device are refused

// One entry of a model's parameter table (six bytes, as the tables were always laid out).
struct ParamDescriptor {
    std::uint16_t Id = 0;
    std::uint8_t Access = AccessRead;
    std::uint8_t Kind = KindNone;
    std::uint8_t General = 0;
    std::uint8_t Spare = 0;

    bool operator==(const ParamDescriptor&) const = default;
};

// One model's parameter table.
using TConfigFile = std::vector<ParamDescriptor>;

} // namespace olg
