#include "TBoundRadioButton.h"

#include "RadioChecking.h"

namespace olg {

TBoundRadioButton::TBoundRadioButton(QWidget* parent) : QRadioButton(parent) {}

void TBoundRadioButton::LoadValue(const ParamValue& value) {
    SetRadioChecked(*this, binding::LoadPlainRadio(value, Tag()));
}

void TBoundRadioButton::StoreValue(ParamValue& value) const {
    binding::StorePlainRadio(value, Tag(), isChecked());
}

} // namespace olg
