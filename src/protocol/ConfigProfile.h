#pragma once

#include "DeviceRegistry.h"
#include "ProfileFile.h"
#include "TOLG.h"

#include <optional>
#include <string>
#include <utility>

namespace olg {

// A device's configuration in a profile file (".cfg"): one section named after the device's model name
// (parameter 5), one key per parameter id from 1 to the highest id of its type, in ascending order. Addresses
// are written dotted, texts as they are, numbers in decimal; six-byte values and ids outside the type's table
// are left out. Key "13", the type code, tells which devices a section fits.
class ConfigProfile {
public:
    // How the file's values are taken. Both refuse a number outside its kind's range (it would wrap on the
    // wire) and a text with CR, LF or NUL.
    enum class Check {
        // For a dialog that shows the values before anything is written: a missing key gives its kind's
        // default (0.0.0.0, the empty text, 0), a number that is none reads as 0, an address text is
        // converted leniently.
        Review,
        // For a write without review: besides, a network address (ids 1-3) that is missing, any address that
        // is not four octets, and a number that is none are refused.
        Strict,
    };
    enum class LoadResult { Loaded, NotCompatible, Refused };
    // The value a load refused.
    struct Refusal {
        int Id = 0;
        std::uint8_t Kind = 0;
        std::optional<std::string> Text; // nothing: the key is missing
    };

    explicit ConfigProfile(const DeviceRegistry& registry) : registry_(registry) {}

    // Writes the record's parameters into the profile. Returns 0, or the id of a text the profile cannot hold
    // (5 for the model name, which names the section), in which case nothing was changed.
    int Store(const TOLG& record, ProfileFile& profile) const;

    // When the profile's section for the record's model holds the record's type code under key "13" and every
    // value passes the check, overwrites every parameter of the record's type from it. Otherwise the record
    // is unchanged, and a refused value is told in *refusal.
    LoadResult Load(const ProfileFile& profile, TOLG& record, Check check, Refusal* refusal = nullptr) const;

    // A number as the Windows tools write it: decimal with an optional sign, or hexadecimal after "0x" or
    // "$". Nothing for any other text; a number too large for 64 bits gives the nearest 64-bit one.
    static std::optional<std::int64_t> ParseNumber(std::string_view text);
    // The numbers a file may hold for a kind: the 32-bit ones signed or unsigned, as tools write them.
    static std::pair<std::int64_t, std::int64_t> NumberRange(std::uint8_t kind);

private:
    // The value for the key's text, or nothing when the check refuses it.
    static std::optional<ParamValue> Value(int id, std::uint8_t kind, const std::optional<std::string>& text,
                                           Check check);

    const DeviceRegistry& registry_;
};

} // namespace olg
