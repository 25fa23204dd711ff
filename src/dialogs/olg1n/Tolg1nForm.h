#pragma once

#include "TOlgForm.h"

#include <memory>

namespace Ui {
class Tolg1nForm;
}

namespace olg {

class THidden;
class TMisc;
class TSecurity;
class TSuperv;

// The dialog of the one-socket model. Firmware from 1.4.0.0 on adds the hidden page and the DHCP switch.
class Tolg1nForm : public TOlgForm {
    Q_OBJECT

public:
    // The device's firmware version (parameter 12) decides the layout.
    Tolg1nForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg1nForm() override;

private:
    std::unique_ptr<Ui::Tolg1nForm> form_;
    TSecurity* security_;
    TSuperv* superv_;
    TMisc* misc_;
    THidden* hidden_ = nullptr;
};

} // namespace olg
