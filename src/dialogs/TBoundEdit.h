#pragma once

#include "BoundControl.h"

#include <QLineEdit>

namespace olg {

// A single-line edit: shows a device text decoded from Windows-1252 and stores it encoded. A character the
// devices' code page cannot carry is refused as it is typed, so every byte survives device -> dialog ->
// device.
class TBoundEdit : public QLineEdit, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit TBoundEdit(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }
};

} // namespace olg
