#pragma once

#include "ConfigPage.h"
#include "PageArguments.h"

#include <vector>

namespace olg {

class LimitedEdit;

// The names of the device and of its sockets, at the ids of the arguments' layout (a member of a group of
// devices or a stand-alone device); any other layout leaves the edits unbound.
class TLab : public ConfigPage {
    Q_OBJECT

public:
    struct Socket {
        QLabel* Label;
        LimitedEdit* Name;
    };

    TLab(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
         const LabArguments& arguments);

    LimitedEdit* DeviceName() const { return deviceName_; }
    const std::vector<Socket>& Sockets() const { return sockets_; }

private:
    LimitedEdit* CreateNameEdit(QWidget* parent, int id);

    QGroupBox* frame_;
    QLabel* deviceNameLabel_;
    LimitedEdit* deviceName_;
    std::vector<Socket> sockets_;
};

} // namespace olg
