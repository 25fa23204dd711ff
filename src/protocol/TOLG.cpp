#include "TOLG.h"

#include <algorithm>

namespace olg {

const ParamValue& TOLG::Value(int id) const {
    static const ParamValue empty;
    if (id < MinParamId || id >= static_cast<int>(values_.size()))
        return empty;
    return values_[static_cast<std::size_t>(id)];
}

void TOLG::SetValue(int id, ParamValue value) {
    if (id < MinParamId || id > MaxParamIdLimit)
        return;
    if (id >= static_cast<int>(values_.size()))
        values_.resize(static_cast<std::size_t>(id) + 1);
    values_[static_cast<std::size_t>(id)] = std::move(value);
}

bool TOLG::operator==(const TOLG& other) const {
    if (Identity != other.Identity || Mac != other.Mac || SenderAddress != other.SenderAddress ||
        Interface != other.Interface)
        return false;
    const int highest = static_cast<int>(std::max(values_.size(), other.values_.size()));
    for (int id = MinParamId; id < highest; ++id)
        if (!(Value(id) == other.Value(id)))
            return false;
    return true;
}

} // namespace olg
