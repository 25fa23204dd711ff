#include "BoundCheckBox.h"

namespace olg {

BoundCheckBox::BoundCheckBox(QWidget* parent) : QCheckBox(parent) {}

void BoundCheckBox::LoadValue(const ParamValue& value) {
    setChecked(binding::LoadCheckBox(value, Tag()));
}

void BoundCheckBox::StoreValue(ParamValue& value) const {
    binding::StoreCheckBox(value, Tag(), isChecked());
}

} // namespace olg
