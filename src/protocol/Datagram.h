#pragma once

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <array>
#include <cstdint>
#include <vector>

namespace olg {

// One request datagram under construction. It always ends with the end marker while items are appended.
using TSendBuf = std::vector<std::uint8_t>;

constexpr std::uint16_t DefaultDistributorCode = 0x1325;
constexpr std::uint16_t DevicePort = 52389;
constexpr std::size_t HeaderSize = 25;
constexpr std::size_t EmptyRequestSize = HeaderSize + 2;
constexpr std::size_t MaxValueLength = 255;
constexpr std::uint16_t EndMarker = 0xFFFF;
// Ids per datagram of a split read or write.
constexpr int IdsPerDatagram = 100;

inline constexpr std::uint8_t CommandRead = 1;
inline constexpr std::uint8_t CommandWrite = 2;
inline constexpr std::uint8_t CommandImageUpgrade = 3;
inline constexpr std::uint8_t CommandFileUpgrade = 4;

// Offsets in the header.
constexpr std::size_t DestinationOffset = 0;
constexpr std::size_t SourceOffset = 8;
constexpr std::size_t DistributorOffset = 18;
constexpr std::size_t CommandOffset = 24;

constexpr DeviceIdentity BroadcastIdentity{0x00, 0x01, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};

// The parameters every discovery asks for, in the order they are asked.
constexpr std::array<std::uint16_t, 11> DiscoveryParamIds{1, 2, 3, 4, 5, 7, 6, 13, 12, 14, 15};

// 00 02, the four address bytes, then the device port 52389 big-endian.
DeviceIdentity AddressIdentity(std::uint32_t address);
// 00 01 and the six MAC bytes, first byte from bits 47-40.
DeviceIdentity MacIdentity(std::uint64_t mac);

// Sets the buffer to a 27-byte request: header and end marker. No destination means the broadcast identity.
void BuildHeader(TSendBuf& buffer, std::uint8_t command, const DeviceIdentity* destination,
                 std::uint16_t distributorCode);

// Appends an item with these value bytes in place of the end marker, and a new end marker.
// The caller guarantees value.size() <= MaxValueLength.
void AppendItem(TSendBuf& buffer, int id, const std::uint8_t* value, std::size_t length);

// Appends a request for the id when the device's table lists it and it can be read. True when appended.
bool AddReadItem(TSendBuf& buffer, int id, const ParamValue& typeValue, const DeviceRegistry& registry);

enum class WriteItemResult {
    Added,
    Skipped, // read-only, not listed, or of a kind that is never written
    TooLong, // a text of more than 255 bytes: nothing appended
};

// Appends the record's value of the id, encoded by its kind, when the id is writable.
WriteItemResult AddWriteItem(TSendBuf& buffer, int id, const TOLG& record, const DeviceRegistry& registry);

// Command 1 to the broadcast identity asking for the discovery parameters.
TSendBuf BuildDiscoveryRequest(std::uint16_t distributorCode);

// Command 3 or 4 with no items, addressed to the device at this IPv4 address.
TSendBuf BuildUpgradeRequest(std::uint8_t command, std::uint32_t address, std::uint16_t distributorCode);

// Big-endian reads and writes used on both sides of the wire.
inline std::uint16_t ReadU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>((p[0] << 8) | p[1]);
}
std::uint64_t ReadBigEndian(const std::uint8_t* p, std::size_t length);
void AppendBigEndian(TSendBuf& buffer, std::uint64_t value, std::size_t length);

} // namespace olg
