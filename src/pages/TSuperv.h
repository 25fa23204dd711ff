#pragma once

#include "PageArguments.h"
#include "TConfigPage.h"

namespace olg {

class TBoundCheckBox;
class TBoundSpinEdit;
class TIPEdit;

// One supervision slot: a piece of equipment the device watches by ping and/or a port scan, and reboots
// after unanswered requests. Seven parameters from BaseId: address, method flags (bit 0 ping, bit 1 scan),
// port, interval, request count, delay before the first request after a reboot, delay before reboot.
class TSuperv : public TConfigPage {
    Q_OBJECT

public:
    TSuperv(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
            const SupervArguments& arguments);

    TIPEdit* Address() const { return address_; }
    TBoundCheckBox* Ping() const { return ping_; }
    TBoundCheckBox* Scan() const { return scan_; }
    QLabel* PortLabel() const { return portLabel_; }
    TBoundSpinEdit* Port() const { return port_; }
    QLabel* IntervalLabel() const { return intervalLabel_; }
    TBoundSpinEdit* Interval() const { return interval_; }
    QGroupBox* RebootBox() const { return rebootBox_; }
    TBoundSpinEdit* Count() const { return count_; }
    TBoundSpinEdit* RebootDelay() const { return rebootDelay_; }
    TBoundSpinEdit* FirstRequestDelay() const { return firstRequestDelay_; }

    // Enables the fields that the chosen methods use.
    void UpdateSupervision();

private:
    TBoundSpinEdit* CreateSpinEdit(QWidget* parent, int tag, const QString& suffix);

    QGroupBox* equipmentBox_;
    QLabel* addressLabel_;
    TIPEdit* address_;
    QGroupBox* methodBox_;
    QLabel* pingLabel_;
    TBoundCheckBox* ping_;
    QLabel* scanLabel_;
    TBoundCheckBox* scan_;
    QLabel* portLabel_;
    TBoundSpinEdit* port_;
    QLabel* intervalLabel_;
    TBoundSpinEdit* interval_;
    QGroupBox* rebootBox_;
    QLabel* countLabel_;
    TBoundSpinEdit* count_;
    QLabel* rebootDelayLabel_;
    TBoundSpinEdit* rebootDelay_;
    QLabel* firstRequestLabel_;
    TBoundSpinEdit* firstRequestDelay_;
};

} // namespace olg
