#include "ParamValue.h"

namespace olg {

std::int64_t ParamValue::AsInteger() const {
    if (const auto* number = std::get_if<std::int64_t>(&value_))
        return *number;
    return 0;
}

std::string ParamValue::AsText() const {
    if (const auto* text = std::get_if<std::string>(&value_))
        return *text;
    if (const auto* number = std::get_if<std::int64_t>(&value_))
        return std::to_string(*number);
    return {};
}

} // namespace olg
