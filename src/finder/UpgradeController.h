#pragma once

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
    // Opens the dialog for the device at this address, empty when none is listed.
    QDialog::DialogCode Open(const QString& address, bool fullFeatures);

private:
    TServeur& serveur_;
    Prompts& prompts_;
    NeighbourCache& neighbours_;
    QWidget* window_;
    TUpgradeForm* form_ = nullptr;
};

} // namespace olg
