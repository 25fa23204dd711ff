#include "Tolg4aForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "THidden.h"
#include "TMisc.h"
#include "TSecurity.h"
#include "ui_Tolg4nForm.h"

#include <QTabWidget>

namespace olg {

Tolg4aForm::Tolg4aForm(DialogHost& host, const TOLG& device, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg4nForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    form_->Tabs->setTabText(form_->Tabs->indexOf(form_->olg4n_UserAccounts), tr("User accounts"));
    form_->UsersBox->setTitle(tr(" User Accounts "));
    AddFormTabs(form_->Tabs);

    security_ = new TSecurity(*this, PageControl, tr("Security"), 4, 20, 4, 1);
    // Both go to position 6: the hidden page, added second, stands just before "Miscellaneous".
    misc_ = new TMisc(*this, PageControl, tr("Miscellaneous"), 6, 81, 4, 1);
    const bool recent = FirmwareVersion(device.Value(12)) >= VersionNumber(1, 2, 0, 0);
    if (recent)
        hidden_ = new THidden(*this, PageControl, 6);
    DHCP->setVisible(recent);

    AddLogins(Olg4aTable());
    new GrowToFit(this);
}

Tolg4aForm::~Tolg4aForm() = default;

} // namespace olg
