#include "TMyCheckBox.h"

namespace olg {

TMyCheckBox::TMyCheckBox(QWidget* parent) : TBoundCheckBox(parent) {}

} // namespace olg
