#pragma once

#include "BoundControl.h"

#include <QCheckBox>

namespace olg {

// A check box showing one bit of the low byte of a parameter.
class BoundCheckBox : public QCheckBox, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit BoundCheckBox(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }
};

} // namespace olg
