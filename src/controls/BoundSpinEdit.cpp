#include "BoundSpinEdit.h"

#include <algorithm>
#include <limits>

namespace olg {

BoundSpinEdit::BoundSpinEdit(QWidget* parent) : QSpinBox(parent) {}

void BoundSpinEdit::LoadValue(const ParamValue& value) {
    const std::int64_t number = binding::LoadSpinValue(value);
    // Out-of-range values land on the nearer limit, as the box cannot show them.
    setValue(static_cast<int>(
        std::clamp<std::int64_t>(number, std::numeric_limits<int>::min(), std::numeric_limits<int>::max())));
}

void BoundSpinEdit::StoreValue(ParamValue& value) const {
    binding::StoreSpinValue(value, this->value());
}

} // namespace olg
