#include "TMyCheckBox.h"

namespace olg {

TMyCheckBox::TMyCheckBox(QWidget* parent) : TBoundCheckBox(parent) {}

void TMyCheckBox::LoadValue(const ParamValue& value) {
    loading_ = true;
    TBoundCheckBox::LoadValue(value);
    loading_ = false;
}

} // namespace olg
