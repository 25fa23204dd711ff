#pragma once

#include "PageArguments.h"
#include "TConfigPage.h"

#include <vector>

namespace olg {

class TLimitedEdit;

// The names of the device and of its sockets, at the ids of the arguments' layout (a member of a group of
// devices or a stand-alone device); any other layout leaves the edits unbound.
class TLab : public TConfigPage {
    Q_OBJECT

public:
    struct Socket {
        QLabel* Label;
        TLimitedEdit* Name;
    };

    TLab(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
         const LabArguments& arguments);

    TLimitedEdit* DeviceName() const { return deviceName_; }
    const std::vector<Socket>& Sockets() const { return sockets_; }

private:
    TLimitedEdit* CreateNameEdit(QWidget* parent, int id);

    QGroupBox* frame_;
    QLabel* deviceNameLabel_;
    TLimitedEdit* deviceName_;
    std::vector<Socket> sockets_;
};

} // namespace olg
