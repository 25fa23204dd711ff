#pragma once

#include <QString>

namespace olg {

// The host's table of neighbours' hardware addresses (ARP). Before talking to a device whose address may just
// have moved to other hardware, the program drops the stale entry so that the next packet asks afresh.
class NeighbourCache {
public:
    virtual ~NeighbourCache() = default;

    // Drops the entry of this IPv4 address, if any. Bounded in time and silent: a failure changes nothing.
    virtual void DropEntry(const QString& address) = 0;
};

} // namespace olg
