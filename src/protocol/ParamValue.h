#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace olg {

// One parameter value: empty (never received or set), an integer or a byte text.
// Numbers of kinds 1, 3, 4 and 5 are held as signed 32-bit bit patterns, kind 6 as a 64-bit number;
// texts are raw bytes in the devices' code page (Windows-1252) and may hold any byte, NUL included.
class ParamValue {
public:
    ParamValue() = default;
    static ParamValue Integer(std::int64_t value) { return ParamValue(value); }
    static ParamValue Text(std::string_view bytes) { return ParamValue(std::string(bytes)); }

    bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }
    bool IsInteger() const { return std::holds_alternative<std::int64_t>(value_); }
    bool IsText() const { return std::holds_alternative<std::string>(value_); }

    // 0 for an empty value or a text.
    std::int64_t AsInteger() const;
    // The empty text for an empty value; a number reads as its decimal text.
    std::string AsText() const;

    bool operator==(const ParamValue&) const = default;

private:
    explicit ParamValue(std::int64_t value) : value_(value) {}
    explicit ParamValue(std::string bytes) : value_(std::move(bytes)) {}

    std::variant<std::monostate, std::int64_t, std::string> value_;
};

} // namespace olg
