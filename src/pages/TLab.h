#pragma once

#include "TConfigPage.h"

#include <vector>

namespace olg {

class TLimitedEdit;

// The names of the device and of its sockets. Layout 0 (a member of a group of devices): the device name at
// BaseId and socket k (from 0) at BaseId + 2 + 4k. Layout 1 (a stand-alone device): the device name is
// parameter 7 and socket k is BaseId + 4k + 84(k div 4), the second four sockets lying 100 ids further.
// Any other layout leaves the edits unbound.
class TLab : public TConfigPage {
    Q_OBJECT

public:
    struct Socket {
        QLabel* Label;
        TLimitedEdit* Name;
    };

    TLab(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex, int baseId,
         int sockets, int firstSocket, int layout);

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
