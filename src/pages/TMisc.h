#pragma once

#include "PageArguments.h"
#include "TConfigPage.h"

#include <vector>

namespace olg {

class TCounterEdit;

// The firmware version (parameter 12) and the device's counters, read-only: power-ups at BaseId, then the
// OFF/ON switchings of each socket row at BaseId + 1 onwards.
class TMisc : public TConfigPage {
    Q_OBJECT

public:
    struct Counter {
        QLabel* Label;
        TCounterEdit* Edit;
    };

    TMisc(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
          const MiscArguments& arguments);

    TCounterEdit* Version() const { return version_; }
    TCounterEdit* PowerUp() const { return powerUp_; }
    const std::vector<Counter>& Switchings() const { return switchings_; }

private:
    TCounterEdit* CreateCounterEdit(QWidget* parent, int id);

    QGroupBox* versionBox_;
    QLabel* versionLabel_;
    TCounterEdit* version_;
    QGroupBox* countersBox_;
    QLabel* powerUpLabel_;
    TCounterEdit* powerUp_;
    std::vector<Counter> switchings_;
};

} // namespace olg
