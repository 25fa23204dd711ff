#include "Datagram.h"

namespace olg {

DeviceIdentity AddressIdentity(std::uint32_t address) {
    return DeviceIdentity{0x00,
                          0x02,
                          static_cast<std::uint8_t>(address >> 24),
                          static_cast<std::uint8_t>(address >> 16),
                          static_cast<std::uint8_t>(address >> 8),
                          static_cast<std::uint8_t>(address),
                          static_cast<std::uint8_t>(DevicePort >> 8),
                          static_cast<std::uint8_t>(DevicePort & 0xFF)};
}

DeviceIdentity MacIdentity(std::uint64_t mac) {
    DeviceIdentity identity{0x00, 0x01};
    for (int i = 0; i < 6; ++i)
        identity[static_cast<std::size_t>(2 + i)] = static_cast<std::uint8_t>(mac >> (40 - 8 * i));
    return identity;
}

void BuildHeader(TSendBuf& buffer, std::uint8_t command, const DeviceIdentity* destination,
                 std::uint16_t distributorCode) {
    buffer.assign(EmptyRequestSize, 0);
    const DeviceIdentity& target = destination ? *destination : BroadcastIdentity;
    std::copy(target.begin(), target.end(), buffer.begin() + DestinationOffset);
    buffer[16] = 0x00;
    buffer[17] = 0x01;
    // The only little-endian field of the format.
    buffer[DistributorOffset] = static_cast<std::uint8_t>(distributorCode & 0xFF);
    buffer[DistributorOffset + 1] = static_cast<std::uint8_t>(distributorCode >> 8);
    buffer[CommandOffset] = command;
    buffer[25] = 0xFF;
    buffer[26] = 0xFF;
}

void AppendItem(TSendBuf& buffer, int id, const std::uint8_t* value, std::size_t length) {
    // The buffer ends with the end marker: the id takes its place.
    buffer.resize(buffer.size() - 2);
    buffer.push_back(static_cast<std::uint8_t>(id >> 8));
    buffer.push_back(static_cast<std::uint8_t>(id & 0xFF));
    buffer.push_back(static_cast<std::uint8_t>(length));
    buffer.insert(buffer.end(), value, value + length);
    buffer.push_back(0xFF);
    buffer.push_back(0xFF);
}

bool AddReadItem(TSendBuf& buffer, int id, const ParamValue& typeValue, const DeviceRegistry& registry) {
    if (registry.ParamAccess(id, typeValue) == AccessWriteOnly || !registry.HasParam(id, typeValue))
        return false;
    AppendItem(buffer, id, nullptr, 0);
    return true;
}

WriteItemResult AddWriteItem(TSendBuf& buffer, int id, const TOLG& record, const DeviceRegistry& registry) {
    const ParamValue& type = record.TypeValue();
    const std::uint8_t kind = registry.ParamKind(id, type);
    if (registry.ParamAccess(id, type) == AccessRead || kind < KindIp || kind > KindU32)
        return WriteItemResult::Skipped;
    const ParamValue& value = record.Value(id);
    if (kind == KindText) {
        const std::string text = value.AsText();
        if (text.size() > MaxValueLength)
            return WriteItemResult::TooLong;
        AppendItem(buffer, id, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
        return WriteItemResult::Added;
    }
    const std::size_t length = kind == KindU8 ? 1 : kind == KindU16 ? 2 : 4;
    TSendBuf bytes;
    AppendBigEndian(bytes, static_cast<std::uint64_t>(value.AsInteger()), length);
    AppendItem(buffer, id, bytes.data(), length);
    return WriteItemResult::Added;
}

TSendBuf BuildDiscoveryRequest(std::uint16_t distributorCode) {
    TSendBuf buffer;
    BuildHeader(buffer, CommandRead, nullptr, distributorCode);
    // Asked unconditionally: the device's type is not known yet.
    for (const std::uint16_t id : DiscoveryParamIds)
        AppendItem(buffer, id, nullptr, 0);
    return buffer;
}

TSendBuf BuildUpgradeRequest(std::uint8_t command, std::uint32_t address, std::uint16_t distributorCode) {
    TSendBuf buffer;
    const DeviceIdentity destination = AddressIdentity(address);
    BuildHeader(buffer, command, &destination, distributorCode);
    return buffer;
}

std::uint64_t ReadBigEndian(const std::uint8_t* p, std::size_t length) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < length; ++i)
        value = (value << 8) | p[i];
    return value;
}

void AppendBigEndian(TSendBuf& buffer, std::uint64_t value, std::size_t length) {
    for (std::size_t i = length; i-- > 0;)
        buffer.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

} // namespace olg
