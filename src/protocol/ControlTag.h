#pragma once

#include "ParamValue.h"

#include <cstdint>
#include <string>

namespace olg {

// A control's binding to one parameter, packed into 32 bits: bits 0-11 the parameter id, 12-19 V (a bit
// number, or the value chosen within the mask), 20-27 M (the mask of a choice field, 0 = none), bit 28 H
// (the masked field lies in the high byte of a 16-bit value). 0 means unbound.
class ControlTag {
public:
    constexpr ControlTag() = default;
    constexpr explicit ControlTag(std::uint32_t raw) : raw_(raw) {}
    static constexpr ControlTag Bit(int id, int bit) { return ControlTag(Pack(id, bit, 0, false)); }
    static constexpr ControlTag Choice(int id, int value, int mask, bool highByte = false) {
        return ControlTag(Pack(id, value, mask, highByte));
    }

    constexpr std::uint32_t Raw() const { return raw_; }
    constexpr bool IsBound() const { return raw_ != 0; }
    constexpr int Id() const { return static_cast<int>(raw_ & 0xFFFu); }
    constexpr std::uint32_t V() const { return (raw_ >> 12) & 0xFFu; }
    constexpr std::uint32_t M() const { return (raw_ >> 20) & 0xFFu; }
    constexpr bool H() const { return ((raw_ >> 28) & 1u) != 0; }

private:
    static constexpr std::uint32_t Pack(int id, int v, int m, bool h) {
        return (static_cast<std::uint32_t>(id) & 0xFFFu) | ((static_cast<std::uint32_t>(v) & 0xFFu) << 12) |
               ((static_cast<std::uint32_t>(m) & 0xFFu) << 20) | (h ? (1u << 28) : 0u);
    }

    std::uint32_t raw_ = 0;
};

// The load (record to control) and store (control to record) rule of each bindable control kind. A store
// changes the value in place; the catalogue kind of the parameter decides later how it goes on the wire.
namespace binding {

// Single-line edit: the value's bytes as they are; a number reads as its decimal text.
std::string LoadEditText(const ParamValue& value);
// A text typed into an edit bound to a numeric parameter stays a number when it reads as one, so that
// storing an unchanged dialog never turns a number into a text.
void StoreEditText(ParamValue& value, const std::string& bytes);

// IP address edit: dotted form of the value taken as an unsigned 32-bit number.
std::string LoadIpText(const ParamValue& value);
// The dotted text as a 32-bit number; the empty text gives 0.
void StoreIpText(ParamValue& value, const std::string& dotted);

// Spin edit.
std::int64_t LoadSpinValue(const ParamValue& value);
void StoreSpinValue(ParamValue& value, int spinValue);

// Check box (both kinds): bit V of the low byte; bit numbers 8 and above never load as checked.
bool LoadCheckBox(const ParamValue& value, ControlTag tag);
void StoreCheckBox(ParamValue& value, ControlTag tag, bool checked);

// Plain radio button: with a mask, checked when the masked low byte equals V, and a checked button replaces
// the whole value by V; an unchecked one stores nothing. Without a mask it behaves as a check box.
bool LoadPlainRadio(const ParamValue& value, ControlTag tag);
void StorePlainRadio(ParamValue& value, ControlTag tag, bool checked);

// Radio button choosing within a masked field of a 16-bit value, the low byte or (H) the high byte; a
// checked button replaces only the masked bits. Without a mask it behaves as a check box on the chosen byte.
bool LoadMaskedRadio(const ParamValue& value, ControlTag tag);
void StoreMaskedRadio(ParamValue& value, ControlTag tag, bool checked);

} // namespace binding
} // namespace olg
