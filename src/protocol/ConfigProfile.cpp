#include "ConfigProfile.h"

#include "IpText.h"
#include "ParamDescriptor.h"

#include <charconv>

namespace olg {

namespace {

std::int64_t Pattern32(std::uint64_t value) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

} // namespace

int ConfigProfile::Store(const TOLG& record, ProfileFile& profile) const {
    const ParamValue& type = record.TypeValue();
    const std::string section = record.Value(param::ModelName).AsText();
    if (!ProfileFile::CanHold(section))
        return param::ModelName;
    const int maxId = registry_.MaxParamId(type);
    // Everything is checked before the first change, so that a refusal leaves the file as it was.
    for (int id = MinParamId; id <= maxId; ++id) {
        if (registry_.ParamKind(id, type) == KindText && !ProfileFile::CanHold(record.Value(id).AsText()))
            return id;
    }
    for (int id = MinParamId; id <= maxId; ++id) {
        const ParamValue& value = record.Value(id);
        const std::string key = std::to_string(id);
        switch (registry_.ParamKind(id, type)) {
        case KindIp:
            profile.WriteString(section, key, IpToText(static_cast<std::uint32_t>(value.AsInteger())));
            break;
        case KindText:
            profile.WriteString(section, key, value.AsText());
            break;
        case KindU8:
        case KindU16:
        case KindU32:
            profile.WriteString(section, key, std::to_string(value.AsInteger()));
            break;
        default:
            break;
        }
    }
    return 0;
}

bool ConfigProfile::Fits(const ProfileFile& profile, const TOLG& record) const {
    const std::string section = record.Value(param::ModelName).AsText();
    const std::int64_t fileType =
        ParseInteger(profile.ReadString(section, std::to_string(param::TypeCode)).value_or(std::string()));
    return fileType == record.TypeValue().AsInteger();
}

bool ConfigProfile::Load(const ProfileFile& profile, TOLG& record) const {
    if (!Fits(profile, record))
        return false;
    // The section and the type are taken before the loop overwrites parameters 5 and 13 with the same values.
    const std::string section = record.Value(param::ModelName).AsText();
    const ParamValue type = record.TypeValue();
    const int maxId = registry_.MaxParamId(type);
    for (int id = MinParamId; id <= maxId; ++id) {
        const std::uint8_t kind = registry_.ParamKind(id, type);
        if (kind < KindIp || kind > KindU32)
            continue;
        const std::string text = profile.ReadString(section, std::to_string(id)).value_or(std::string());
        if (kind == KindIp)
            record.SetValue(id, ParamValue::Integer(Pattern32(TextToIp(text.empty() ? "0.0.0.0" : text))));
        else if (kind == KindText)
            record.SetValue(id, ParamValue::Text(text));
        else
            record.SetValue(id, ParamValue::Integer(ParseInteger(text)));
    }
    return true;
}

std::int64_t ConfigProfile::ParseInteger(std::string_view text) {
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
    if (text.empty() || error != std::errc() || end != last)
        return 0;
    if (negative)
        return magnitude <= 0x80000000ull ? -static_cast<std::int64_t>(magnitude) : 0;
    // A 32-bit value written unsigned by another tool reads as the same bit pattern.
    return magnitude <= 0xFFFFFFFFull ? Pattern32(magnitude) : 0;
}

} // namespace olg
