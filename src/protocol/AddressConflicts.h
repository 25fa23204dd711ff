#pragma once

#include "DeviceList.h"

#include <cstdint>
#include <vector>

namespace olg {

// Devices whose replies come from the same IP address on the same network interface: two devices configured
// with one address, of which the network reaches one at a time. The same address behind two different
// interfaces is two networks, no conflict. Devices without a reply address have no conflicts.
struct AddressConflicts {
    // Per listed device, in list order: the index of its group in Groups, or -1 when it has no conflict.
    std::vector<int> GroupOf;
    // Each group: the indexes of the devices sharing one address, in list order; at least two.
    std::vector<std::vector<int>> Groups;

    // The first few other devices of this device's group, in list order, at most that many: naming a device's
    // conflicts costs what is named, also in a group of thousands. Empty without a conflict.
    std::vector<int> Others(int device, std::size_t most = SIZE_MAX) const;
    // How many other devices answer from this device's address.
    std::size_t OtherCount(int device) const;
};

// Linear in the number of devices, so that a list of thousands can be checked after every scan.
AddressConflicts FindAddressConflicts(const DeviceList& devices);

} // namespace olg
