#include "UpgradeController.h"

namespace olg {

UpgradeController::UpgradeController(TServeur& serveur, Prompts& prompts, NeighbourCache& neighbours,
                                     QWidget* window)
    : QObject(window), serveur_(serveur), prompts_(prompts), neighbours_(neighbours), window_(window) {}

void UpgradeController::CreateUpgradeForm() {
    if (!form_)
        form_ = new TUpgradeForm(serveur_, prompts_, &neighbours_, window_);
}

QDialog::DialogCode UpgradeController::Open(const QString& address, bool fullFeatures) {
    CreateUpgradeForm();
    form_->SetFullFeatures(fullFeatures);
    return form_->ShowUpgrade(address);
}

} // namespace olg
