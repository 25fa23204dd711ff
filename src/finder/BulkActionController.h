#pragma once

#include "DeviceList.h"
#include "NeighbourCache.h"
#include "Prompts.h"
#include "TServeur.h"

#include <QList>
#include <QObject>

namespace olg {

// The actions on every selected device at once: Assign Addresses and Upgrade Selected Devices. Each takes the
// devices' list indexes in the order the list shows them.
class BulkActionController : public QObject {
    Q_OBJECT

public:
    BulkActionController(const DeviceList& devices, TServeur& serveur, Prompts& prompts,
                         NeighbourCache& neighbours, QWidget* window);

    // Runs the dialog; true when a device was written, so that the list needs a new scan.
    bool AssignAddresses(const QList<int>& devices);
    // Asks for the file and warns once, then runs the dialog; what it did, for the status bar (empty when
    // nothing ran). The file proposed is the one chosen last.
    QString UpgradeDevices(const QList<int>& devices, const QString& proposedFile);

private:
    const DeviceList& devices_;
    TServeur& serveur_;
    Prompts& prompts_;
    NeighbourCache& neighbours_;
    QWidget* window_;
};

} // namespace olg
