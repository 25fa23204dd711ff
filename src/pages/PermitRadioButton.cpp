#include "PermitRadioButton.h"

namespace olg {

PermitRadioButton::PermitRadioButton(QWidget* parent) : MaskedRadioButton(parent) {}

void PermitRadioButton::LoadValue(const ParamValue& value) {
    // Unchecking the checked button of an exclusive pair does nothing; checking the partner does it.
    if (binding::LoadMaskedRadio(value, Tag()))
        setChecked(true);
    else if (partner_ != nullptr)
        partner_->setChecked(true);
    else
        setChecked(false);
}

} // namespace olg
