#pragma once

#include "BoundControl.h"

#include <QRadioButton>

namespace olg {

// A radio button that chooses a value within a masked field of a 16-bit parameter, in its low byte or,
// with the tag's high-byte flag, its high byte; the other bits pass through.
class MaskedRadioButton : public QRadioButton, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit MaskedRadioButton(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }
};

} // namespace olg
