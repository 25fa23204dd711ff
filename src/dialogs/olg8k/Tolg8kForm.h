#pragma once

#include "TOlgForm.h"

#include <memory>

namespace Ui {
class Tolg8kForm;
}

namespace olg {

class TLab;
class TMisc;
class TRack;
class TSecurity;

// The dialog of the eight-socket olg8k: the same layout for every firmware, without DHCP switch or hidden
// page.
class Tolg8kForm : public TOlgForm {
    Q_OBJECT

public:
    Tolg8kForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg8kForm() override;

private:
    std::unique_ptr<Ui::Tolg8kForm> form_;
    TLab* labels_;
    TRack* users_;
    TSecurity* security_;
    TMisc* misc_;
};

} // namespace olg
