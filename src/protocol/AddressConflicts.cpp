#include "AddressConflicts.h"

#include "AddressGroups.h"

#include <string>
#include <unordered_map>

namespace olg {

namespace {

// The group of this device, or none.
const std::vector<int>* FindGroup(const AddressConflicts& conflicts, int device) {
    if (device < 0 || static_cast<std::size_t>(device) >= conflicts.GroupOf.size() ||
        conflicts.GroupOf[static_cast<std::size_t>(device)] < 0)
        return nullptr;
    return &conflicts.Groups[static_cast<std::size_t>(conflicts.GroupOf[static_cast<std::size_t>(device)])];
}

} // namespace

std::vector<int> AddressConflicts::Others(int device, std::size_t most) const {
    std::vector<int> others;
    const std::vector<int>* group = FindGroup(*this, device);
    if (!group)
        return others;
    for (auto member = group->begin(); member != group->end() && others.size() < most; ++member) {
        if (*member != device)
            others.push_back(*member);
    }
    return others;
}

std::size_t AddressConflicts::OtherCount(int device) const {
    const std::vector<int>* group = FindGroup(*this, device);
    return group ? group->size() - 1 : 0;
}

AddressConflicts FindAddressConflicts(const DeviceList& devices) {
    AddressConflicts conflicts;
    conflicts.GroupOf.assign(static_cast<std::size_t>(devices.Size()), -1);
    // Each place to the first device that answered from there and the group once a second one did.
    struct Occupants {
        int First = -1;
        int Group = -1;
    };
    std::unordered_map<std::string, Occupants> places;
    for (int i = 0; i < devices.Size(); ++i) {
        const TOLG& record = devices.At(i);
        if (record.SenderAddress.empty())
            continue;
        Occupants& place = places[AddressGroups::Place(record.SenderAddress, record.Interface)];
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
