#include "TPermitRadioButton.h"

namespace olg {

TPermitRadioButton::TPermitRadioButton(QWidget* parent) : TMaskedRadioButton(parent) {}

void TPermitRadioButton::LoadValue(const ParamValue& value) {
    // Unchecking the checked button of an exclusive pair does nothing; checking the partner does it.
    if (binding::LoadMaskedRadio(value, Tag()))
        setChecked(true);
    else if (partner_ != nullptr)
        partner_->setChecked(true);
    else
        setChecked(false);
}

} // namespace olg
