#pragma once

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <cstddef>
#include <cstdint>

namespace olg {

enum class DecodeResult {
    Complete,  // the end marker was reached
    Truncated, // the datagram ended before its end marker or inside an item; the items before were kept
    TooShort,  // shorter than a header: nothing decoded
};

// Decodes the items of a reply into the record, each by the kind the catalogue gives for its id and the
// record's type value (a type code decoded earlier in the same datagram already counts). Items of unknown
// kind or of a length that does not fit their kind are skipped. Never reads outside [data, data + size).
DecodeResult DecodeReplyItems(const std::uint8_t* data, std::size_t size, TOLG& record,
                              const DeviceRegistry& registry);

// The value a reply item carries for a parameter of this kind, or an empty value when the length does not
// fit.
ParamValue DecodeValue(std::uint8_t kind, const std::uint8_t* bytes, std::size_t length);

// How a device asks to be upgraded, from its answer to command 3 or 4.
enum class UpgradeMode {
    None,      // not an upgrade answer for this command
    TftpImage, // FF FE to command 3
    FtpImage,  // FF FD to command 3
    FtpFileSet // FF FC to command 4
};

UpgradeMode ParseUpgradeReply(const std::uint8_t* data, std::size_t size, std::uint8_t command);

} // namespace olg
