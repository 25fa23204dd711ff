#include "CounterEdit.h"

namespace olg {

CounterEdit::CounterEdit(QWidget* parent) : BoundEdit(parent) {
    setReadOnly(true);
    // Not a tab stop, but a click still selects the text for copying.
    setFocusPolicy(Qt::ClickFocus);
}

void CounterEdit::LoadValue(const ParamValue& value) {
    if (!value.IsInteger()) {
        number_.reset();
        BoundEdit::LoadValue(value);
        return;
    }
    number_ = value;
    setText(QString::number(static_cast<std::uint32_t>(value.AsInteger())));
    shown_ = text();
}

void CounterEdit::StoreValue(ParamValue& value) const {
    if (number_ && text() == shown_)
        value = *number_;
    else
        BoundEdit::StoreValue(value);
}

} // namespace olg
