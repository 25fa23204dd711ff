#pragma once

#include "TOlgForm.h"

#include <array>
#include <memory>

namespace Ui {
class Tolg8nForm;
}

namespace olg {

class THidden;
class TLab;
class TMisc;
class TRack;
class TSecurity;
class TSuperv;

// The dialog of the eight-socket olg8n: eight supervision slots, power-up and restart delay per socket, no
// DHCP switch, and the hidden page from firmware 1.2.0.0 on.
class Tolg8nForm : public TOlgForm {
    Q_OBJECT

public:
    // The device's firmware version (parameter 12) decides the layout.
    Tolg8nForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg8nForm() override;

private:
    std::unique_ptr<Ui::Tolg8nForm> form_;
    TLab* labels_;
    TRack* users_;
    TSecurity* security_;
    std::array<TSuperv*, 8> superv_{};
    TMisc* misc_;
    THidden* hidden_ = nullptr;
};

} // namespace olg
