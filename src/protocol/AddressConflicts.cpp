#include "AddressConflicts.h"

#include <string>
#include <unordered_map>

namespace olg {

std::vector<int> AddressConflicts::Others(int device) const {
    std::vector<int> others;
    if (device < 0 || static_cast<std::size_t>(device) >= GroupOf.size() ||
        GroupOf[static_cast<std::size_t>(device)] < 0)
        return others;
    for (int other : Groups[static_cast<std::size_t>(GroupOf[static_cast<std::size_t>(device)])]) {
        if (other != device)
            others.push_back(other);
    }
    return others;
}

AddressConflicts FindAddressConflicts(const DeviceList& devices) {
    AddressConflicts conflicts;
    conflicts.GroupOf.assign(static_cast<std::size_t>(devices.Size()), -1);
    // Address and interface, joined by a byte neither holds, to the first device that answered from there
    // and the group once a second one did.
    struct Place {
        int First = -1;
        int Group = -1;
    };
    std::unordered_map<std::string, Place> places;
    for (int i = 0; i < devices.Size(); ++i) {
        const TOLG& record = devices.At(i);
        if (record.SenderAddress.empty())
            continue;
        Place& place = places[record.SenderAddress + '\0' + record.Interface];
        if (place.First < 0) {
            place.First = i;
            continue;
        }
        if (place.Group < 0) {
            place.Group = static_cast<int>(conflicts.Groups.size());
            conflicts.Groups.push_back({place.First});
            conflicts.GroupOf[static_cast<std::size_t>(place.First)] = place.Group;
        }
        conflicts.Groups[static_cast<std::size_t>(place.Group)].push_back(i);
        conflicts.GroupOf[static_cast<std::size_t>(i)] = place.Group;
    }
    return conflicts;
}

} // namespace olg
