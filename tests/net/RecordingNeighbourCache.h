#pragma once

#include "NeighbourCache.h"

#include <QStringList>

namespace olg::testing {

// Records the entries the program drops instead of touching the host's table.
class RecordingNeighbourCache : public NeighbourCache {
public:
    void DropEntry(const QString& address) override { dropped.append(address); }

    QStringList dropped;
};

} // namespace olg::testing
