#include "UpgradeController.h"

#include "DeviceCaption.h"
#include "TIPEdit.h"

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

QString UpgradeController::ResultText(const DeviceList& devices) const {
    const QString address = form_->UpgradeIP()->Text();
    QString caption = address;
    for (const TOLG& record : devices.Records()) {
        if (QString::fromStdString(record.SenderAddress) == address) {
            caption = DeviceCaption(record);
            break;
        }
    }
    return form_->Flow().LastResult().Mode == TransferMode::TftpImage
               ? tr("%1: firmware sent and read back the same").arg(caption)
               : tr("%1: firmware sent by FTP").arg(caption);
}

} // namespace olg
