#include "Tolg4nForm.h"

#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "GrowToFit.h"
#include "TBoundCheckBox.h"
#include "THidden.h"
#include "TMisc.h"
#include "TSecurity.h"
#include "TSuperv.h"
#include "ui_Tolg4nForm.h"

namespace olg {

Tolg4nForm::Tolg4nForm(DialogHost& host, const TOLG& device, QWidget* parent)
    : TOlgForm(host, parent), form_(std::make_unique<Ui::Tolg4nForm>()) {
    QWidget holder;
    form_->setupUi(&holder);
    AddFormTabs(form_->Tabs);

    security_ = new TSecurity(*this, PageControl, tr("Security"), 4, 20, 4, 1);
    constexpr std::array<int, 4> supervisionIds{28, 35, 42, 49};
    for (int k = 0; k < 4; ++k)
        superv_[static_cast<std::size_t>(k)] =
            new TSuperv(*this, PageControl, tr("Supervision %1").arg(k + 1), 5 + k,
                        supervisionIds[static_cast<std::size_t>(k)]);
    // Both go to position 10: the hidden page, added second, stands just before "Miscellaneous".
    misc_ = new TMisc(*this, PageControl, tr("Miscellaneous"), 10, 81, 4, 1);
    if (FirmwareVersion(device.Value(12)) >= VersionNumber(1, 2, 0, 0))
        hidden_ = new THidden(*this, PageControl, 10);
    DHCP->setVisible(false);

    AddLogins(Olg4nTable());
    new GrowToFit(this);
}

Tolg4nForm::~Tolg4nForm() = default;

} // namespace olg
