#pragma once

#include "BoundCheckBox.h"

namespace olg {

// A socket box of the accounts page: it knows its account row and socket number (both 1 to 8), so that one
// change handler serves all of them, and whether the change comes from loading a value.
class TMyCheckBox : public BoundCheckBox {
    Q_OBJECT

public:
    explicit TMyCheckBox(QWidget* parent = nullptr);

    void LoadValue(const ParamValue& value) override;
    bool Loading() const { return loading_; }

    int Row = 0;
    int Socket = 0;

private:
    bool loading_ = false;
};

} // namespace olg
