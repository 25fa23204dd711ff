#include "ReplyDecoder.h"

#include "Datagram.h"

namespace olg {

ParamValue DecodeValue(std::uint8_t kind, const std::uint8_t* bytes, std::size_t length) {
    switch (kind) {
    case KindIp:
    case KindU32:
        if (length != 4)
            return {};
        // Kept as the signed 32-bit bit pattern.
        return ParamValue::Integer(static_cast<std::int32_t>(ReadBigEndian(bytes, 4)));
    case KindText:
        return ParamValue::Text(std::string_view(reinterpret_cast<const char*>(bytes), length));
    case KindU8:
        return length == 1 ? ParamValue::Integer(bytes[0]) : ParamValue();
    case KindU16:
        return length == 2 ? ParamValue::Integer(ReadU16(bytes)) : ParamValue();
    case KindSix:
        return length == 6 ? ParamValue::Integer(static_cast<std::int64_t>(ReadBigEndian(bytes, 6)))
                           : ParamValue();
    default:
        return {};
    }
}

DecodeResult DecodeReplyItems(const std::uint8_t* data, std::size_t size, TOLG& record,
                              const DeviceRegistry& registry) {
    if (size < HeaderSize)
        return DecodeResult::TooShort;
    std::size_t position = HeaderSize;
    while (position + 2 <= size) {
        const int id = ReadU16(data + position);
        if (id == EndMarker)
            return DecodeResult::Complete;
        if (position + 3 > size)
            return DecodeResult::Truncated;
        const std::size_t length = data[position + 2];
        const std::size_t valueStart = position + 3;
        if (valueStart + length > size)
            return DecodeResult::Truncated;
        const std::uint8_t kind = registry.ParamKind(id, record.TypeValue());
        ParamValue value = DecodeValue(kind, data + valueStart, length);
        if (!value.IsEmpty())
            record.SetValue(id, std::move(value));
        position = valueStart + length;
    }
    return DecodeResult::Truncated;
}

UpgradeMode ParseUpgradeReply(const std::uint8_t* data, std::size_t size, std::uint8_t command) {
    if (size < EmptyRequestSize || data[23] != 0x00 || data[CommandOffset] != command || data[25] != 0xFF)
        return UpgradeMode::None;
    const std::uint8_t code = data[26];
    if (command == CommandImageUpgrade && code == 0xFE)
        return UpgradeMode::TftpImage;
    if (command == CommandImageUpgrade && code == 0xFD)
        return UpgradeMode::FtpImage;
    if (command == CommandFileUpgrade && code == 0xFC)
        return UpgradeMode::FtpFileSet;
    return UpgradeMode::None;
}

} // namespace olg
