#include "Tolg8wForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "TBoundSpinEdit.h"
#include "TMaskedRadioButton.h"

#include <QGroupBox>
#include <QPushButton>

namespace olg {

Tolg8wForm::Tolg8wForm(DialogHost& host, const TOLG& device, QWidget* parent) : TOlgForm(host, parent) {
    AddDnsFields();
    AddAccessChoice();
    AddVersionBox();
    for (QRadioButton* button :
         {static_cast<QRadioButton*>(https_access), static_cast<QRadioButton*>(http_access)})
        connect(button, &QRadioButton::toggled, this, &Tolg8wForm::http_accessClick);

    const std::uint32_t version = FirmwareVersion(device.Value(12), true);
    // No HTTP switch on this model: where the firmware offers it, HTTPS or HTTP access is chosen instead.
    http_authorized->setVisible(false);
    DHCP->setVisible(true);
    AvanceButton->setVisible(false);
    PortBox->setVisible(true);
    if (version >= VersionNumber(2, 0, 0, 3))
        MovePortIntoConfigBox();
    const bool choice = version >= VersionNumber(2, 0, 0, 0);
    https_access->setVisible(choice);
    http_access->setVisible(choice);

    AddLogins(Olg8wTable());
    new GrowToFit(this);
}

void Tolg8wForm::http_accessClick() {
    // Without the choice (older firmware) the port always counts, whatever bit 7 of parameter 6 holds.
    Port->setEnabled(http_access->isChecked() || http_access->isHidden());
}

} // namespace olg
