#pragma once

#include "DeviceRegistry.h"
#include "ProfileFile.h"
#include "TOLG.h"

namespace olg {

// A device's configuration in a profile file (".cfg"): one section named after the device's model name
// (parameter 5), one key per parameter id from 1 to the highest id of its type, in ascending order. Addresses
// are written dotted, texts as they are, numbers in decimal; six-byte values and ids outside the type's table
// are left out. Key "13", the type code, tells which devices a section fits.
class ConfigProfile {
public:
    explicit ConfigProfile(const DeviceRegistry& registry) : registry_(registry) {}

    // Writes the record's parameters into the profile. Returns 0, or the id of a text the profile cannot hold
    // (5 for the model name, which names the section), in which case nothing was changed.
    int Store(const TOLG& record, ProfileFile& profile) const;

    // True when the profile's section for the record's model holds the record's type code under key "13".
    bool Fits(const ProfileFile& profile, const TOLG& record) const;
    // When the profile fits, overwrites every parameter of the record's type from it, a missing key giving
    // 0.0.0.0, the empty text or 0, and returns true; otherwise leaves the record as it was.
    bool Load(const ProfileFile& profile, TOLG& record) const;

    // An integer key's value as the Windows tools read it: decimal with an optional sign, or hexadecimal
    // after "0x" or "$", within 32 bits (kept as a signed bit pattern); anything else reads as 0.
    static std::int64_t ParseInteger(std::string_view text);

private:
    const DeviceRegistry& registry_;
};

} // namespace olg
