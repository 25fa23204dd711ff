#pragma once

#include "BoundControl.h"

#include <QSpinBox>

namespace olg {

// A spin edit holding a number parameter.
class BoundSpinEdit : public QSpinBox, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit BoundSpinEdit(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }
};

} // namespace olg
