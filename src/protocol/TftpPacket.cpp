#include "TftpPacket.h"

#include "Windows1252.h"

#include <algorithm>
#include <cstring>

namespace olg {

namespace {

void AppendU16(TftpPacket::Bytes& packet, std::uint16_t value) {
    packet.push_back(static_cast<std::uint8_t>(value >> 8));
    packet.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

void AppendText(TftpPacket::Bytes& packet, std::string_view text) {
    packet.insert(packet.end(), text.begin(), text.end());
    packet.push_back(0);
}

std::uint16_t U16At(const std::uint8_t* data, std::size_t size, std::size_t offset) {
    if (data == nullptr || size < offset + 2)
        return 0;
    return static_cast<std::uint16_t>((data[offset] << 8) | data[offset + 1]);
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

} // namespace

TftpPacket::Bytes TftpPacket::Request(Opcode opcode, std::string_view fileName, int blockSize) {
    Bytes packet;
    AppendU16(packet, opcode);
    AppendText(packet, fileName);
    AppendText(packet, "octet");
    AppendText(packet, "blksize");
    AppendText(packet, std::to_string(blockSize));
    return packet;
}

TftpPacket::Bytes TftpPacket::Header(Opcode opcode, std::uint16_t number) {
    Bytes packet;
    AppendU16(packet, opcode);
    AppendU16(packet, number);
    return packet;
}

TftpPacket::Bytes TftpPacket::ErrorPacket(std::uint16_t code, std::string_view message) {
    Bytes packet = Header(Error, code);
    AppendText(packet, message);
    return packet;
}

std::uint16_t TftpPacket::OpcodeOf(const std::uint8_t* data, std::size_t size) {
    return U16At(data, size, 0);
}

std::uint16_t TftpPacket::NumberOf(const std::uint8_t* data, std::size_t size) {
    return U16At(data, size, 2);
}

std::optional<int> TftpPacket::AcknowledgedBlockSize(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size <= 2)
        return std::nullopt;
    // Name and value texts, each ended by a NUL; a text without its NUL ends the list.
    std::vector<std::string_view> fields;
    const char* text = reinterpret_cast<const char*>(data) + 2;
    std::string_view rest(text, size - 2);
    for (std::size_t end; (end = rest.find('\0')) != std::string_view::npos; rest.remove_prefix(end + 1))
        fields.push_back(rest.substr(0, end));
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        if (!EqualsIgnoringCase(fields[i], "blksize"))
            continue;
        const std::string_view value = fields[i + 1];
        int number = 0;
        if (value.empty() || value.size() > 5 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return std::nullopt;
        for (const char c : value)
            number = number * 10 + (c - '0');
        if (number < MinBlockSize || number > MaxBlockSize)
            return std::nullopt;
        return number;
    }
    return std::nullopt;
}

std::string TftpPacket::ErrorText(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size <= 4)
        return {};
    std::string_view text(reinterpret_cast<const char*>(data) + 4, size - 4);
    text = text.substr(0, text.find('\0'));
    return Windows1252ToPrintable(text, MaxErrorText);
}

} // namespace olg
