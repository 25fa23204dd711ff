#include "BoundRadioButton.h"

#include "RadioChecking.h"

namespace olg {

BoundRadioButton::BoundRadioButton(QWidget* parent) : QRadioButton(parent) {}

void BoundRadioButton::LoadValue(const ParamValue& value) {
    SetRadioChecked(*this, binding::LoadPlainRadio(value, Tag()));
}

void BoundRadioButton::StoreValue(ParamValue& value) const {
    binding::StorePlainRadio(value, Tag(), isChecked());
}

} // namespace olg
