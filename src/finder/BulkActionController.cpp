#include "BulkActionController.h"

#include "AssignAddressesDialog.h"
#include "BulkUpgradeDialog.h"
#include "DeviceCaption.h"
#include "TUpgradeForm.h"
#include "UpgradeFlow.h"

#include <QFileInfo>

namespace olg {

BulkActionController::BulkActionController(const DeviceList& devices, TServeur& serveur, Prompts& prompts,
                                           NeighbourCache& neighbours, QWidget* window)
    : QObject(window), devices_(devices), serveur_(serveur), prompts_(prompts), neighbours_(neighbours),
      window_(window) {}

bool BulkActionController::AssignAddresses(const QList<int>& devices) {
    if (devices.isEmpty())
        return false;
    AssignAddressesDialog dialog(devices_, serveur_, prompts_, devices, window_);
    dialog.exec();
    return dialog.Wrote();
}

QString BulkActionController::UpgradeDevices(const QList<int>& devices, const QString& proposedFile) {
    if (devices.isEmpty())
        return {};
    const QString file = prompts_.AskOpenFileName(TUpgradeForm::FileRequest(proposedFile));
    if (file.isEmpty())
        return {};
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix != QLatin1String("bin") && suffix != QLatin1String("cfg")) {
        prompts_.ShowError(
            tr("%1 is neither a firmware image (.bin) nor an upload list (.cfg): nothing was sent")
                .arg(QFileInfo(file).fileName()));
        return {};
    }
    // Once for all of them: each upgrade risks its device as much as a single one does.
    if (!prompts_.ConfirmUpgrade(UpgradeFlow::WarningText()))
        return {};
    QList<BulkUpgradeDialog::Target> targets;
    for (int device : devices)
        targets.append(
            {DeviceCaption(devices_.At(device)), QString::fromStdString(devices_.At(device).SenderAddress)});
    BulkUpgradeDialog dialog(serveur_, &neighbours_, targets, file, window_);
    dialog.exec();
    return tr("%1 of %2 devices upgraded").arg(dialog.SucceededCount()).arg(targets.size());
}

} // namespace olg
