#include "TBoundSpinEdit.h"

#include <algorithm>
#include <limits>

namespace olg {

TBoundSpinEdit::TBoundSpinEdit(QWidget* parent) : QSpinBox(parent) {}

void TBoundSpinEdit::LoadValue(const ParamValue& value) {
    const std::int64_t number = binding::LoadSpinValue(value);
    // Out-of-range values land on the nearer limit, as the box cannot show them.
    setValue(static_cast<int>(
        std::clamp<std::int64_t>(number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void TBoundSpinEdit::StoreValue(ParamValue& value) const {
    binding::StoreSpinValue(value, this->value());
}

} // namespace olg
