#pragma once

#include "TOlgForm.h"

#include <array>
#include <memory>

namespace Ui {
class Tolg4nForm;
}

namespace olg {

class THidden;
class TMisc;
class TSecurity;
class TSuperv;

// The dialog of the four-socket model with supervision: a supervision page per socket, no DHCP switch, and
// the hidden page from firmware 1.2.0.0 on.
class Tolg4nForm : public TOlgForm {
    Q_OBJECT

public:
    // The device's firmware version (parameter 12) decides the layout.
    Tolg4nForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg4nForm() override;

private:
    std::unique_ptr<Ui::Tolg4nForm> form_;
    TSecurity* security_;
    std::array<TSuperv*, 4> superv_{};
    TMisc* misc_;
    THidden* hidden_ = nullptr;
};

} // namespace olg
