#pragma once

// Helpers shared by the unit tests: byte buffers written and compared as hex.

#include <QByteArray>
#include <QList>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace testbytes {

// "00 01 FF" (spaces and commas ignored) as raw bytes.
inline QByteArray Hex(const char* text) {
    return QByteArray::fromHex(QByteArray(text).replace(' ', "").replace(',', ""));
}

inline QByteArray ToBytes(const std::vector<std::uint8_t>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size()));
}

template <std::size_t N> QByteArray ToBytes(const std::array<std::uint8_t, N>& bytes) {
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(N));
}

inline QByteArray ToBytes(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// An exact-size copy, so that a read past the end shows up under the sanitizers.
inline std::vector<std::uint8_t> ToVector(const QByteArray& bytes) {
    return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

// Space-separated upper-case hex, for failure messages that a reader can compare with a capture.
inline QByteArray Dump(const QByteArray& bytes) {
    return bytes.toHex(' ').toUpper();
}

} // namespace testbytes
