#pragma once

#include "ControlTag.h"
#include "ParamValue.h"

namespace olg {

// A control that shows one parameter of the dialog's record, named by its tag. Each bindable kind is a class
// of its own, so the dialog never guesses a kind from a widget's looks.
class BoundControl {
public:
    virtual ~BoundControl() = default;

    ControlTag Tag() const { return tag_; }
    void SetTag(ControlTag tag) { tag_ = tag; }

    // Record to control; the dialog calls it only with a value the device supplied (never an empty one).
    virtual void LoadValue(const ParamValue& value) = 0;
    // Control to record: applies the kind's store rule to the value in place.
    virtual void StoreValue(ParamValue& value) const = 0;

private:
    ControlTag tag_;
};

} // namespace olg
