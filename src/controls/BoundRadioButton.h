#pragma once

#include "BoundControl.h"

#include <QRadioButton>

namespace olg {

// A radio button that chooses a whole value (with a mask) or shows one bit (without).
class BoundRadioButton : public QRadioButton, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit BoundRadioButton(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }
};

} // namespace olg
