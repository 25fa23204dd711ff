#pragma once

#include <QApplication>

namespace olg {

// The hourglass over the whole program while an exchange runs; the normal cursor comes back on every way
// out of the scope, or earlier with Restore (before a message box, say).
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { Restore(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void Restore() {
        if (active_)
            QApplication::restoreOverrideCursor();
        active_ = false;
    }

private:
    bool active_ = true;
};

} // namespace olg
