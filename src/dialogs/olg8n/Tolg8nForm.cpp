#include "Tolg8nForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "THidden.h"
#include "TLab.h"
#include "TMisc.h"
#include "TRack.h"
#include "TSecurity.h"
#include "TSuperv.h"
#include "ui_Tolg8nForm.h"

namespace olg {

Tolg8nForm::Tolg8nForm(DialogHost& host, const TOLG& device, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg8nForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    AddFormTabs(form_->Tabs);

    labels_ = new TLab(*this, PageControl, tr("Labels"), 1, 56, 8, 1, 1);
    users_ = new TRack(*this, form_->AccountControl, tr("Users"), 1, 56, 1, 1);
    security_ = new TSecurity(*this, PageControl, tr("Security"), 3, 20, 4, 1);
    // Sockets 5 to 8 lie 100 ids after sockets 1 to 4.
    constexpr std::array<int, 8> supervisionIds{28, 35, 42, 49, 128, 135, 142, 149};
    for (int k = 0; k < 8; ++k)
        superv_[static_cast<std::size_t>(k)] =
            new TSuperv(*this, form_->SupervControl, tr("Supervision %1").arg(k + 1), k,
                        supervisionIds[static_cast<std::size_t>(k)]);
    // Both go to position 6: the hidden page, added second, stands just before "Miscellaneous".
    misc_ = new TMisc(*this, PageControl, tr("Miscellaneous"), 6, 81, 8, 1);
    if (FirmwareVersion(device.Value(12)) >= VersionNumber(1, 2, 0, 0))
        hidden_ = new THidden(*this, PageControl, 6);
    form_->SupervControl->setCurrentIndex(0);
    form_->OptionControl->setCurrentIndex(0);

    DHCP->setVisible(false);

    AddLogins(Olg8nTable());
    new GrowToFit(this);
}

Tolg8nForm::~Tolg8nForm() = default;

} // namespace olg
