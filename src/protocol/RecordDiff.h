#pragma once

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <vector>

namespace olg {

// Where two records of one device type differ: what a load or a plan would change, or what sets a device
// apart from a saved configuration.
class RecordDiff {
public:
    enum class Scope {
        Written, // the parameters a write sends
        Held,    // every parameter a configuration file holds, the read-only ones too
    };

    // The ids of the type of a, in ascending order, whose values differ.
    static std::vector<int> DifferingIds(const DeviceRegistry& registry, const TOLG& a, const TOLG& b,
                                         Scope scope);
};

} // namespace olg
