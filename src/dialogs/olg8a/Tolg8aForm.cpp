#include "Tolg8aForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "THidden.h"
#include "TLab.h"
#include "TMisc.h"
#include "TRack.h"
#include "TSecurity.h"
#include "ui_Tolg8aForm.h"

namespace olg {

Tolg8aForm::Tolg8aForm(DialogHost& host, const TOLG& device, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg8aForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    AddFormTabs(form_->Tabs);

    for (int d = 0; d < GroupDevices; ++d)
        labels_[static_cast<std::size_t>(d)] =
            new TLab(*this, form_->LabelControl, tr("Device %1").arg(d + 1), d + 1, 39 + 100 * d, 8, 1, 0);
    for (int d = 0; d < GroupDevices; ++d)
        accounts_[static_cast<std::size_t>(d)] =
            new TRack(*this, form_->AccountControl, tr("Device %1").arg(d + 1), d + 1, 40 + 100 * d, 1, 0);
    security_ = new TSecurity(*this, PageControl, tr("Security"), 3, 20, 8, 1);
    if (FirmwareVersion(device.Value(12)) >= VersionNumber(1, 2, 0, 0))
        hidden_ = new THidden(*this, PageControl, 5);
    for (int d = 0; d < GroupDevices; ++d)
        misc_[static_cast<std::size_t>(d)] =
            new TMisc(*this, form_->MiscControl, tr("Device %1").arg(d + 1), d, 81 + 100 * d, 8, 1);
    form_->LabelControl->setCurrentIndex(0);
    form_->AccountControl->setCurrentIndex(0);
    form_->MiscControl->setCurrentIndex(0);

    DHCP->setVisible(false);
    http_authorized->setVisible(false);

    AddLogins(Olg8aTable());
    new GrowToFit(this);
}

Tolg8aForm::~Tolg8aForm() = default;

} // namespace olg
