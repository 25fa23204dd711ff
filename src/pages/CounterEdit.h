#pragma once

#include "BoundEdit.h"

#include <optional>

namespace olg {

// A read-only edit for a device counter or text. Counters are unsigned 32-bit numbers that the record keeps
// as their signed bit pattern, so a count past 2^31 is shown as the device means it, not as a negative, and
// goes back into the record as it came.
class CounterEdit : public BoundEdit {
    Q_OBJECT

public:
    explicit CounterEdit(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

private:
    std::optional<ParamValue> number_;
    QString shown_;
};

} // namespace olg
