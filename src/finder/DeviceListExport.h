#pragma once

#include "DeviceList.h"
#include "Prompts.h"

#include <QList>
#include <QObject>

namespace olg {

// Writes the devices shown, in the order shown, into a CSV or JSON file the user names.
class DeviceListExport : public QObject {
    Q_OBJECT

public:
    DeviceListExport(const DeviceList& devices, Prompts& prompts, QObject* parent);

    // What was done, for the status bar; empty when nothing was written.
    QString Run(const QList<int>& shown);

private:
    const DeviceList& devices_;
    Prompts& prompts_;
};

} // namespace olg
