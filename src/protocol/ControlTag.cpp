#include "ControlTag.h"

#include "IpText.h"

#include <charconv>

namespace olg::binding {

namespace {

std::uint32_t Shift(ControlTag tag) { return tag.V() % 32u; }

std::uint32_t Unsigned(const ParamValue& value) { return static_cast<std::uint32_t>(value.AsInteger()); }

bool LowByteBit(std::uint32_t x, ControlTag tag) { return ((x & 0xFFu) & (1u << Shift(tag))) != 0; }

} // namespace

std::string LoadEditText(const ParamValue& value) { return value.AsText(); }

void StoreEditText(ParamValue& value, const std::string& bytes) {
    if (value.IsInteger()) {
        std::int64_t number = 0;
        const char* end = bytes.data() + bytes.size();
        const auto [stop, error] = std::from_chars(bytes.data(), end, number);
        if (error == std::errc() && stop == end && !bytes.empty()) {
            value = ParamValue::Integer(number);
            return;
        }
    }
    value = ParamValue::Text(bytes);
}

std::string LoadIpText(const ParamValue& value) { return IpToText(Unsigned(value)); }

void StoreIpText(ParamValue& value, const std::string& dotted) {
    value = ParamValue::Integer(static_cast<std::int32_t>(dotted.empty() ? 0u : TextToIp(dotted)));
}

std::int64_t LoadSpinValue(const ParamValue& value) { return value.AsInteger(); }

void StoreSpinValue(ParamValue& value, int spinValue) { value = ParamValue::Integer(spinValue); }

bool LoadCheckBox(const ParamValue& value, ControlTag tag) { return LowByteBit(Unsigned(value), tag); }

void StoreCheckBox(ParamValue& value, ControlTag tag, bool checked) {
    const std::uint32_t bit = 1u << Shift(tag);
    const std::uint32_t x = Unsigned(value);
    value = ParamValue::Integer(static_cast<std::int32_t>(checked ? (x | bit) : (x & ~bit)));
}

bool LoadPlainRadio(const ParamValue& value, ControlTag tag) {
    if (tag.M() == 0)
        return LoadCheckBox(value, tag);
    return ((Unsigned(value) & tag.M()) & 0xFFu) == tag.V();
}

void StorePlainRadio(ParamValue& value, ControlTag tag, bool checked) {
    if (tag.M() == 0) {
        StoreCheckBox(value, tag, checked);
        return;
    }
    if (checked)
        value = ParamValue::Integer(static_cast<std::int32_t>(tag.V()));
}

bool LoadMaskedRadio(const ParamValue& value, ControlTag tag) {
    std::uint32_t x = Unsigned(value);
    if (tag.H())
        x = (x & 0xFFFFu) >> 8;
    if (tag.M() == 0)
        return LowByteBit(x, tag);
    return (x & tag.M()) == tag.V();
}

void StoreMaskedRadio(ParamValue& value, ControlTag tag, bool checked) {
    if (tag.M() == 0) {
        StoreCheckBox(value, tag, checked);
        return;
    }
    if (!checked)
        return;
    std::uint16_t mask = static_cast<std::uint16_t>(tag.M());
    std::uint16_t choice = static_cast<std::uint16_t>(tag.V());
    if (tag.H()) {
        mask = static_cast<std::uint16_t>(mask << 8);
        choice = static_cast<std::uint16_t>(choice << 8);
    }
    const auto x = static_cast<std::uint16_t>(Unsigned(value));
    value = ParamValue::Integer(static_cast<std::uint16_t>((x & static_cast<std::uint16_t>(~mask)) | choice));
}

} // namespace olg::binding
