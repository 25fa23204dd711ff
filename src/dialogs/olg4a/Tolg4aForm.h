#pragma once

#include "TOlgForm.h"

#include <memory>

namespace Ui {
class Tolg4nForm;
}

namespace olg {

class THidden;
class TMisc;
class TSecurity;

// The dialog of the four-socket model without supervision. Its tabs are those of olg4n but for the captions
// of the user tab; firmware from 1.2.0.0 on adds the hidden page and the DHCP switch.
class Tolg4aForm : public TOlgForm {
    Q_OBJECT

public:
    // The device's firmware version (parameter 12) decides the layout.
    Tolg4aForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg4aForm() override;

private:
    std::unique_ptr<Ui::Tolg4nForm> form_;
    TSecurity* security_;
    TMisc* misc_;
    THidden* hidden_ = nullptr;
};

} // namespace olg
