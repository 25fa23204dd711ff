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

    // True when the name is a MAC or an IPv4 address, which name one device each: the lookup may end as soon
    // as that device answers. A device name needs the whole scan, to see that it is unique.
    static bool NamesAnAddress(const QString& name);
    // True when this record is the device named by a MAC or by the address its replies come from, so that
    // Select, whatever else answers, will name it. A configured address alone gives no such certainty.
    static bool AnsweredAs(const TOLG& record, const QString& name);

private:
    int Unique(const QList<int>& matches, const QString& name, QString* error) const;

    const DeviceList& devices_;
};

} // namespace olg::cli
