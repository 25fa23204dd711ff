#pragma once

#include "DeviceList.h"

#include <vector>

namespace olg {

// For each listed device, the indexes of the other devices whose latest reply came from the same IPv4
// address, in list order; empty for a device alone on its address. Two devices on one address cannot both
// be reached: whatever is sent to that address goes to whichever of them takes it.
std::vector<std::vector<int>> FindAddressConflicts(const DeviceList& devices);

} // namespace olg
