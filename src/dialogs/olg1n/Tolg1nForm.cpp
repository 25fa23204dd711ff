#include "Tolg1nForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "THidden.h"
#include "TMisc.h"
#include "TSecurity.h"
#include "TSuperv.h"
#include "ui_Tolg1nForm.h"

namespace olg {

Tolg1nForm::Tolg1nForm(DialogHost& host, const TOLG& device, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg1nForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    AddFormTabs(form_->Tabs);

    security_ = new TSecurity(*this, PageControl, tr("Security"), 3, 30, 4, 1);
    superv_ = new TSuperv(*this, PageControl, tr("Supervision"), 4, 20);
    // Both go to position 6: the hidden page, added second, stands just before "Miscellaneous".
    misc_ = new TMisc(*this, PageControl, tr("Miscellaneous"), 6, 71, 1, 1);
    const bool recent = FirmwareVersion(device.Value(12)) >= VersionNumber(1, 4, 0, 0);
    if (recent)
        hidden_ = new THidden(*this, PageControl, 6);
    DHCP->setVisible(recent);

    AddLogins(Olg1nTable());
    new GrowToFit(this);
}

Tolg1nForm::~Tolg1nForm() = default;

} // namespace olg
