#include "BoundEdit.h"

#include "DeviceText.h"

#include <QValidator>

namespace olg {

namespace {

// Refuses any input the devices' code page cannot carry, instead of turning it into "?" on the way out.
class Windows1252Validator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        return DeviceText::Encode(input) ? Acceptable : Invalid;
    }
};

} // namespace

BoundEdit::BoundEdit(QWidget* parent) : QLineEdit(parent) {
    setValidator(new Windows1252Validator(this));
}

void BoundEdit::LoadValue(const ParamValue& value) {
    loaded_ = binding::LoadEditText(value);
    const QString decoded = DeviceText::Decode(*loaded_);
    // What the edit shows of it, taken before the change handlers run: a handler that amends the text
    // (a missing slash, say) makes it differ, so the amended text is stored rather than the old bytes.
    shown_ = decoded.left(maxLength());
    setText(decoded);
}

void BoundEdit::StoreValue(ParamValue& value) const {
    if (loaded_ && text() == shown_) {
        binding::StoreEditText(value, *loaded_);
        return;
    }
    // The validator lets only encodable text in; a text set by code that is not gets its value left alone.
    if (const auto bytes = DeviceText::Encode(text()))
        binding::StoreEditText(value, *bytes);
}

} // namespace olg
