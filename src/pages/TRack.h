#pragma once

#include "ConfigPage.h"
#include "PageArguments.h"

#include <array>

class QScrollArea;

namespace olg {

class BoundCheckBox;
class LimitedEdit;
class TMyCheckBox;

// Eight user accounts, each with a login, a password and the sockets it may switch, at the ids of the
// arguments' layout. A member of a group of devices also has the switches "Device Activated" and "Twin
// Mode"; in twin mode sockets 5 to 8 follow sockets 1 to 4 and each pair keeps one authorization.
class TRack : public ConfigPage {
    Q_OBJECT

public:
    static constexpr int Accounts = 8;
    static constexpr int SocketCount = 8;

    struct Account {
        QLabel* LoginLabel;
        QLabel* PasswordLabel;
        LimitedEdit* Login;
        LimitedEdit* Password;
        std::array<TMyCheckBox*, SocketCount> Sockets;
    };

    TRack(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex,
          const RackArguments& arguments);

    QGroupBox* Frame() const { return frame_; }
    QLabel* Header() const { return header_; }
    QLabel* SocketNumber(int socket) const { return socketNumbers_.at(static_cast<std::size_t>(socket - 1)); }
    // Row and socket count from 1.
    const Account& Row(int row) const { return accounts_.at(static_cast<std::size_t>(row - 1)); }
    TMyCheckBox* Box(int row, int socket) const {
        return Row(row).Sockets.at(static_cast<std::size_t>(socket - 1));
    }
    // Null in the stand-alone layout.
    BoundCheckBox* TwinMode() const { return twinMode_; }
    BoundCheckBox* DeviceActivated() const { return deviceActivated_; }

    void DeviceActivatedChange();
    void TwinModeChange();
    void SocketChange(TMyCheckBox* box);

private:
    QScrollArea* scrollBox_;
    QGroupBox* frame_;
    QLabel* header_;
    std::array<QLabel*, SocketCount> socketNumbers_{};
    std::array<Account, Accounts> accounts_{};
    BoundCheckBox* twinMode_ = nullptr;
    BoundCheckBox* deviceActivated_ = nullptr;
};

} // namespace olg
