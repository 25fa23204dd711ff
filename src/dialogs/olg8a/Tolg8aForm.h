#pragma once

#include "TOlgForm.h"

#include <array>
#include <memory>

namespace Ui {
class Tolg8aForm;
}

namespace olg {

class THidden;
class TLab;
class TMisc;
class TRack;
class TSecurity;

// The dialog of a group of five eight-socket devices under one group name; the parameters of group device d
// (1 to 5) lie 100 ids apart. Firmware from 1.2.0.0 on adds the hidden page; there is never a DHCP switch
// nor an HTTP switch.
class Tolg8aForm : public TOlgForm {
    Q_OBJECT

public:
    static constexpr int GroupDevices = 5;

    // The device's firmware version (parameter 12) decides the layout.
    Tolg8aForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);
    ~Tolg8aForm() override;

private:
    std::unique_ptr<Ui::Tolg8aForm> form_;
    std::array<TLab*, GroupDevices> labels_{};
    std::array<TRack*, GroupDevices> accounts_{};
    TSecurity* security_;
    THidden* hidden_ = nullptr;
    std::array<TMisc*, GroupDevices> misc_{};
};

} // namespace olg
