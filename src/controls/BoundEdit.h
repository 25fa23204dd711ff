#pragma once

#include "BoundControl.h"

#include <QLineEdit>

#include <optional>
#include <string>

namespace olg {

// A single-line edit: shows a device text decoded from Windows-1252 and stores it encoded. A character the
// devices' code page cannot carry is refused as it is typed, so every byte survives device -> dialog ->
// device.
class BoundEdit : public QLineEdit, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)

public:
    explicit BoundEdit(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }

private:
    // The bytes last loaded and the text they showed as: while the text is unchanged the bytes go back as
    // they came, since the edit's length limit cuts a longer device text on display.
    std::optional<std::string> loaded_;
    QString shown_;
};

} // namespace olg
