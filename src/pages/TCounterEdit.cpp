#include "TCounterEdit.h"

namespace olg {

TCounterEdit::TCounterEdit(QWidget* parent) : TBoundEdit(parent) {
    setReadOnly(true);
    // Not a tab stop, but a click still selects the text for copying.
    setFocusPolicy(Qt::ClickFocus);
}

void TCounterEdit::LoadValue(const ParamValue& value) {
    if (!value.IsInteger()) {
        number_.reset();
        TBoundEdit::LoadValue(value);
        return;
    }
    number_ = value;
    setText(QString::number(static_cast<std::uint32_t>(value.AsInteger())));
    shown_ = text();
}

void TCounterEdit::StoreValue(ParamValue& value) const {
    if (number_ && text() == shown_)
        value = *number_;
    else
        TBoundEdit::StoreValue(value);
}

} // namespace olg
