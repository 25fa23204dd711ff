#pragma once

#include "BoundEdit.h"

namespace olg {

// A bound edit into which at most a given number of characters can be typed. Unlike a maximum length, the
// limit never cuts a longer text that the device supplied: it is shown unchanged, so the edit always stores
// what it shows, also after a change handler has amended a loaded text.
class LimitedEdit : public BoundEdit {
    Q_OBJECT
    Q_PROPERTY(int limit READ Limit WRITE SetLimit)

public:
    explicit LimitedEdit(QWidget* parent = nullptr);

    void StoreValue(ParamValue& value) const override;

    int Limit() const { return limit_; }
    void SetLimit(int limit) { limit_ = limit; }

private:
    class LimitValidator;

    int limit_ = 32767;
    // The length of the text before the edit under validation: a text already beyond the limit may shrink.
    qsizetype acceptedLength_ = 0;
};

} // namespace olg
