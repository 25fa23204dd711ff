#pragma once

#include "NeighbourCache.h"

#include <QStringList>

#include <functional>

namespace olg::testing {

// Records the addresses whose neighbour entry the program drops, and never touches the host's table.
class RecordingNeighbourCache : public NeighbourCache {
public:
    void DropEntry(const QString& address) override {
        dropped.append(address);
        if (onDrop)
            onDrop(address);
    }

    QStringList dropped;
    // Called on every drop, so that a test can see what had happened by then.
    std::function<void(const QString&)> onDrop;
};

} // namespace olg::testing
