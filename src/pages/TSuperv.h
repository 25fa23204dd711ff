#pragma once

#include "ConfigPage.h"
#include "PageArguments.h"

namespace olg {

class BoundCheckBox;
class BoundSpinEdit;
class TIPEdit;

// One supervision slot: a piece of equipment the device watches by ping and/or a port scan, and reboots
// after unanswered requests. Seven parameters from BaseId: address, method flags (bit 0 ping, bit 1 scan),
// port, interval, request count, delay before the first request after a reboot, delay before reboot.
class TSuperv : public ConfigPage {
    Q_OBJECT

public:
    TSuperv(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
            const SupervArguments& arguments);

    TIPEdit* Address() const { return address_; }
    BoundCheckBox* Ping() const { return ping_; }
    BoundCheckBox* Scan() const { return scan_; }
    QLabel* PortLabel() const { return portLabel_; }
    BoundSpinEdit* Port() const { return port_; }
    QLabel* IntervalLabel() const { return intervalLabel_; }
    BoundSpinEdit* Interval() const { return interval_; }
    QGroupBox* RebootBox() const { return rebootBox_; }
    BoundSpinEdit* Count() const { return count_; }
    BoundSpinEdit* RebootDelay() const { return rebootDelay_; }
    BoundSpinEdit* FirstRequestDelay() const { return firstRequestDelay_; }

    // Enables the fields that the chosen methods use.
    void UpdateSupervision();

private:
    BoundSpinEdit* CreateSpinEdit(QWidget* parent, int tag, const QString& suffix);

    QGroupBox* equipmentBox_;
    QLabel* addressLabel_;
    TIPEdit* address_;
    QGroupBox* methodBox_;
    QLabel* pingLabel_;
    BoundCheckBox* ping_;
    QLabel* scanLabel_;
    BoundCheckBox* scan_;
    QLabel* portLabel_;
    BoundSpinEdit* port_;
    QLabel* intervalLabel_;
    BoundSpinEdit* interval_;
    QGroupBox* rebootBox_;
    QLabel* countLabel_;
    BoundSpinEdit* count_;
    QLabel* rebootDelayLabel_;
    BoundSpinEdit* rebootDelay_;
    QLabel* firstRequestLabel_;
    BoundSpinEdit* firstRequestDelay_;
};

} // namespace olg
