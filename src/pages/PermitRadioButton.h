#pragma once

#include "MaskedRadioButton.h"

namespace olg {

// The bound half of a permit/deny pair: it shows one flag bit, and its unbound partner stands for the bit
// clear. A value with the bit clear checks the partner, so the pair always shows the loaded choice, also
// when it is loaded again over an earlier permit.
class PermitRadioButton : public MaskedRadioButton {
    Q_OBJECT

public:
    explicit PermitRadioButton(QWidget* parent = nullptr);

    void SetPartner(QRadioButton* partner) { partner_ = partner; }

    void LoadValue(const ParamValue& value) override;

private:
    QRadioButton* partner_ = nullptr;
};

} // namespace olg
