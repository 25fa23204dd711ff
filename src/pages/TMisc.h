#pragma once

#include "ConfigPage.h"
#include "PageArguments.h"

#include <vector>

namespace olg {

class CounterEdit;

// The firmware version (parameter 12) and the device's counters, read-only: power-ups at BaseId, then the
// OFF/ON switchings of each socket row at BaseId + 1 onwards.
class TMisc : public ConfigPage {
    Q_OBJECT

public:
    struct Counter {
        QLabel* Label;
        CounterEdit* Edit;
    };

    TMisc(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
          const MiscArguments& arguments);

    CounterEdit* Version() const { return version_; }
    CounterEdit* PowerUp() const { return powerUp_; }
    const std::vector<Counter>& Switchings() const { return switchings_; }

private:
    CounterEdit* CreateCounterEdit(QWidget* parent, int id);

    QGroupBox* versionBox_;
    QLabel* versionLabel_;
    CounterEdit* version_;
    QGroupBox* countersBox_;
    QLabel* powerUpLabel_;
    CounterEdit* powerUp_;
    std::vector<Counter> switchings_;
};

} // namespace olg
