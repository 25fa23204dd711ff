#include "TBoundCheckBox.h"

namespace olg {

TBoundCheckBox::TBoundCheckBox(QWidget* parent) : QCheckBox(parent) {}

void TBoundCheckBox::LoadValue(const ParamValue& value) {
    setChecked(binding::LoadCheckBox(value, Tag()));
}

void TBoundCheckBox::StoreValue(ParamValue& value) const {
    binding::StoreCheckBox(value, Tag(), isChecked());
}

} // namespace olg
