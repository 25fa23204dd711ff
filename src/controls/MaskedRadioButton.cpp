#include "MaskedRadioButton.h"

#include "RadioChecking.h"

namespace olg {

MaskedRadioButton::MaskedRadioButton(QWidget* parent) : QRadioButton(parent) {}

void MaskedRadioButton::LoadValue(const ParamValue& value) {
    SetRadioChecked(*this, binding::LoadMaskedRadio(value, Tag()));
}

void MaskedRadioButton::StoreValue(ParamValue& value) const {
    binding::StoreMaskedRadio(value, Tag(), isChecked());
}

} // namespace olg
