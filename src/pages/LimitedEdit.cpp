#include "LimitedEdit.h"

#include "DeviceText.h"

#include <QPointer>
#include <QValidator>

namespace olg {

// Refuses an edit that makes the text longer than the limit, after the edit's own check of the characters.
class LimitedEdit::LimitValidator : public QValidator {
public:
    LimitValidator(LimitedEdit* edit, const QValidator* characters)
        : QValidator(edit), edit_(edit), characters_(characters) {}

    State validate(QString& input, int& position) const override {
        const State state = characters_ != nullptr ? characters_->validate(input, position) : Acceptable;
        if (state == Invalid)
            return Invalid;
        if (input.size() > edit_->limit_ && input.size() > edit_->acceptedLength_)
            return Invalid;
        return state;
    }

private:
    LimitedEdit* edit_;
    QPointer<const QValidator> characters_;
};

LimitedEdit::LimitedEdit(QWidget* parent) : BoundEdit(parent) {
    setValidator(new LimitValidator(this, validator()));
    connect(this, &QLineEdit::textChanged, this,
            [this](const QString& text) { acceptedLength_ = text.size(); });
}

void LimitedEdit::StoreValue(ParamValue& value) const {
    // The validator lets only encodable text in; a text set by code that is not leaves the value alone.
    if (const auto bytes = DeviceText::Encode(text()))
        binding::StoreEditText(value, *bytes);
}

} // namespace olg
