#include "TMyCheckBox.h"

namespace olg {

TMyCheckBox::TMyCheckBox(QWidget* parent) : BoundCheckBox(parent) {}

void TMyCheckBox::LoadValue(const ParamValue& value) {
    loading_ = true;
    BoundCheckBox::LoadValue(value);
    loading_ = false;
}

} // namespace olg
