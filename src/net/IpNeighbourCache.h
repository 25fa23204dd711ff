#pragma once

#include "NeighbourCache.h"

namespace olg {

// The Linux neighbour table, changed with "ip neigh flush to ADDRESS". The command runs without a window or
// output and is waited for, but never longer than the time limit, so that a hung command cannot freeze the
// program. Without the right to change the table (it needs root) the command fails, which changes nothing.
class IpNeighbourCache : public NeighbourCache {
public:
    static constexpr int DefaultTimeLimitMs = 3000;

    explicit IpNeighbourCache(int timeLimitMs = DefaultTimeLimitMs) : timeLimitMs_(timeLimitMs) {}

    void DropEntry(const QString& address) override;

private:
    int timeLimitMs_;
};

} // namespace olg
