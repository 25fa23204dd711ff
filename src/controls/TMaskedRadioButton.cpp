#include "TMaskedRadioButton.h"

#include "RadioChecking.h"

namespace olg {

TMaskedRadioButton::TMaskedRadioButton(QWidget* parent) : QRadioButton(parent) {}

void TMaskedRadioButton::LoadValue(const ParamValue& value) {
    SetRadioChecked(*this, binding::LoadMaskedRadio(value, Tag()));
}

void TMaskedRadioButton::StoreValue(ParamValue& value) const {
    binding::StoreMaskedRadio(value, Tag(), isChecked());
}

} // namespace olg
