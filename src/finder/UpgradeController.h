#pragma once

#include "DeviceList.h"
#include "NeighbourCache.h"
#include "Prompts.h"
#include "TServeur.h"
#include "TUpgradeForm.h"

#include <QObject>

namespace olg {

// The upgrade dialog, created once and kept for the whole run so that it keeps the file chosen last.
class UpgradeController : public QObject {
    Q_OBJECT

public:
    UpgradeController(TServeur& serveur, Prompts& prompts, NeighbourCache& neighbours, QWidget* window);

    void CreateUpgradeForm();
    TUpgradeForm* UpgradeForm() const { return form_; }
    // Opens the dialog for the device at this address, empty when none is listed; Accepted once an upgrade
    // went through.
    QDialog::DialogCode Open(const QString& address, bool fullFeatures);
    // What the last upgrade did, for the status bar, naming the device by its name when it is listed.
    QString ResultText(const DeviceList& devices) const;

private:
    TServeur& serveur_;
    Prompts& prompts_;
    NeighbourCache& neighbours_;
    QWidget* window_;
    TUpgradeForm* form_ = nullptr;
};

} // namespace olg
