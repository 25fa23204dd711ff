#include "ConfigProfile.h"

#include "IPAddrUtils.h"
#include "IpText.h"
#include "ParamDescriptor.h"
#include "ParamIds.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace olg {

namespace {

std::int64_t Pattern32(std::int64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

bool IsAddress(std::string_view text) {
    try {
        ValidateIPString(text);
    } catch (const IPStringError&) {
        return false;
    }
    return true;
}

} // namespace

int ConfigProfile::Store(const TOLG& record, ProfileFile& profile) const {
    const ParamValue& type = record.TypeValue();
    const std::string section = record.Value(param::ModelName).AsText();
    if (!ProfileFile::CanHold(section))
        return param::ModelName;
    const int maxId = registry_.MaxParamId(type);
    // Everything is checked before the first change, so that a refusal leaves the file as it was.
    ProfileFile::KeyValues values;
    for (int id = MinParamId; id <= maxId; ++id) {
        const ParamValue& value = record.Value(id);
        switch (registry_.ParamKind(id, type)) {
        case KindIp:
            values.emplace_back(std::to_string(id), IpToText(static_cast<std::uint32_t>(value.AsInteger())));
            break;
        case KindText:
            if (!ProfileFile::CanHold(value.AsText()))
                return id;
            values.emplace_back(std::to_string(id), value.AsText());
            break;
        case KindU8:
        case KindU16:
        case KindU32:
            values.emplace_back(std::to_string(id), std::to_string(value.AsInteger()));
            break;
        default:
            break;
        }
    }
    profile.WriteStrings(section, values);
    return 0;
}

ConfigProfile::LoadResult ConfigProfile::Load(const ProfileFile& profile, TOLG& record, Check check,
                                              Refusal* refusal) const {
    const std::string section = record.Value(param::ModelName).AsText();
    const ParamValue type = record.TypeValue();
    const int maxId = registry_.MaxParamId(type);
    // Every key in one pass over the file.
    std::vector<std::string> keys;
    for (int id = MinParamId; id <= std::max(maxId, param::TypeCode); ++id)
        keys.push_back(std::to_string(id));
    const std::vector<std::optional<std::string>> texts = profile.ReadStrings(section, keys);

    const std::optional<std::int64_t> fileType =
        ParseNumber(texts[param::TypeCode - 1].value_or(std::string()));
    const auto [low, high] = NumberRange(KindU32);
    if (!fileType || *fileType < low || *fileType > high || Pattern32(*fileType) != type.AsInteger())
        return LoadResult::NotCompatible;
    TOLG loaded = record;
    for (int id = MinParamId; id <= maxId; ++id) {
        const std::uint8_t kind = registry_.ParamKind(id, type);
        if (kind < KindIp || kind > KindU32)
            continue;
        const std::optional<std::string>& text = texts[static_cast<std::size_t>(id - 1)];
        std::optional<ParamValue> value = Value(id, kind, text, check);
        if (!value) {
            if (refusal)
                *refusal = Refusal{id, kind, text};
            return LoadResult::Refused;
        }
        loaded.SetValue(id, std::move(*value));
    }
    record = std::move(loaded);
    return LoadResult::Loaded;
}

std::optional<ParamValue> ConfigProfile::Value(int id, std::uint8_t kind,
                                               const std::optional<std::string>& text, Check check) {
    const bool strict = check == Check::Strict;
    switch (kind) {
    case KindIp:
        // Mask, address and gateway: a device given a wrong one is cut off the network.
        if (strict && (text ? !IsAddress(*text) : id <= param::Gateway))
            return std::nullopt;
        return ParamValue::Integer(Pattern32(TextToIp(text && !text->empty() ? *text : "0.0.0.0")));
    case KindText:
        if (text && !ProfileFile::CanHold(*text))
            return std::nullopt;
        return ParamValue::Text(text.value_or(std::string()));
    default: {
        if (!text)
            return ParamValue::Integer(0);
        const std::optional<std::int64_t> number = ParseNumber(*text);
        if (!number)
            return strict ? std::nullopt : std::optional(ParamValue::Integer(0));
        const auto [low, high] = NumberRange(kind);
        if (*number < low || *number > high)
            return std::nullopt;
        // A 32-bit value written unsigned by another tool reads as the same bit pattern.
        return ParamValue::Integer(kind == KindU32 ? Pattern32(*number) : *number);
    }
    }
}

std::optional<std::int64_t> ConfigProfile::ParseNumber(std::string_view text) {
    int base = 10;
    bool negative = false;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (text.starts_with("$")) {
        base = 16;
        text.remove_prefix(1);
    } else if (text.starts_with("-") || text.starts_with("+")) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    std::uint64_t magnitude = 0;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(text.data(), last, magnitude, base);
    if (text.empty() || end != last || (error != std::errc() && error != std::errc::result_out_of_range))
        return std::nullopt;
    constexpr auto Largest = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (error == std::errc::result_out_of_range || magnitude > Largest)
        magnitude = Largest;
    const auto value = static_cast<std::int64_t>(magnitude);
    return negative ? -value : value;
}

std::pair<std::int64_t, std::int64_t> ConfigProfile::NumberRange(std::uint8_t kind) {
    switch (kind) {
    case KindU8:
        return {0, 0xFF};
    case KindU16:
        return {0, 0xFFFF};
    default:
        return {std::numeric_limits<std::int32_t>::min(), 0xFFFFFFFF};
    }
}

} // namespace olg
