#include "Tolg8kForm.h"

#include "Catalogue.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "TLab.h"
#include "TMisc.h"
#include "TRack.h"
#include "TSecurity.h"
#include "ui_Tolg8kForm.h"

namespace olg {

Tolg8kForm::Tolg8kForm(DialogHost& host, const TOLG& /*device*/, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg8kForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    AddFormTabs(form_->Tabs);

    labels_ = new TLab(*this, PageControl, tr("Labels"), 1, 56, 8, 1, 1);
    users_ = new TRack(*this, form_->AccountControl, tr("Users"), 1, 56, 1, 1);
    security_ = new TSecurity(*this, PageControl, tr("Security"), 3, 20, 4, 1);
    misc_ = new TMisc(*this, PageControl, tr("Miscellaneous"), 4, 81, 8, 1);

    DHCP->setVisible(false);

    AddLogins(Olg8kTable());
    new GrowToFit(this);
}

Tolg8kForm::~Tolg8kForm() = default;

} // namespace olg
