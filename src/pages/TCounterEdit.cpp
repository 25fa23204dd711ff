#include "TCounterEdit.h"

namespace olg {

TCounterEdit::TCounterEdit(QWidget* parent) : TBoundEdit(parent) {
    setReadOnly(true);
    // Not a tab stop, but a click still selects the text for copying.
    setFocusPolicy(Qt::ClickFocus);
}

void TCounterEdit::LoadValue(const ParamValue& value) {
    if (value.IsInteger())
        setText(QString::number(static_cast<std::uint32_t>(value.AsInteger())));
    else
        TBoundEdit::LoadValue(value);
}

} // namespace olg
