#pragma once

#include "TBoundCheckBox.h"

namespace olg {

// A socket box of the accounts page: it knows its account row and socket number (both 1 to 8), so that one
// change handler serves all of them.
class TMyCheckBox : public TBoundCheckBox {
    Q_OBJECT

public:
    explicit TMyCheckBox(QWidget* parent = nullptr);

    int Row = 0;
    int Socket = 0;
};

} // namespace olg
