#pragma once

#include "DeviceList.h"

#include <QList>
#include <QString>

namespace olg::cli {

// Finds the device the user named on the command line among the devices a scan listed: by MAC address (any of
// the separators "-", ":", "." or none, any case), by IPv4 address (the one its replies came from, or its
// configured one) or by device name (exact, else ignoring case).
class DeviceSelector {
public:
    explicit DeviceSelector(const DeviceList& devices) : devices_(devices) {}

    // The index in the list, or -1 with the reason in *error.
    int Select(const QString& name, QString* error) const;

private:
    int Unique(const QList<int>& matches, const QString& name, QString* error) const;

    const DeviceList& devices_;
};

} // namespace olg::cli
