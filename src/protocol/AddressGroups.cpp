#include "AddressGroups.h"

#include <algorithm>

namespace olg {

std::string AddressGroups::Place(std::string_view address, std::string_view interfaceName) {
    if (address.empty())
        return {};
    // Joined by a byte neither holds.
    std::string place(address);
    place += '\0';
    place += interfaceName;
    return place;
}

void AddressGroups::Clear() {
    members_.clear();
    placeOf_.clear();
}

std::vector<int> AddressGroups::Move(int device, std::string_view address, std::string_view interfaceName) {
    if (device < 0)
        return {};
    const auto at = static_cast<std::size_t>(device);
    if (placeOf_.size() <= at)
        placeOf_.resize(at + 1);
    std::string place = Place(address, interfaceName);
    if (place == placeOf_[at])
        return {};
    std::vector<int> changed{device};
    if (!placeOf_[at].empty()) {
        const auto left = members_.find(placeOf_[at]);
        std::vector<int>& members = left->second;
        members.erase(std::lower_bound(members.begin(), members.end(), device));
        if (members.size() == 1)
            changed.push_back(members.front());
        else if (members.empty())
            members_.erase(left);
    }
    if (!place.empty()) {
        std::vector<int>& members = members_[place];
        members.insert(std::lower_bound(members.begin(), members.end(), device), device);
        if (members.size() == 2)
            changed.push_back(members.front() == device ? members.back() : members.front());
    }
    placeOf_[at] = std::move(place);
    return changed;
}

const std::vector<int>* AddressGroups::Members(int device) const {
    if (device < 0 || static_cast<std::size_t>(device) >= placeOf_.size() ||
        placeOf_[static_cast<std::size_t>(device)].empty())
        return nullptr;
    return &members_.at(placeOf_[static_cast<std::size_t>(device)]);
}

std::size_t AddressGroups::OtherCount(int device) const {
    const std::vector<int>* members = Members(device);
    return members ? members->size() - 1 : 0;
}

std::vector<int> AddressGroups::Others(int device, std::size_t most) const {
    std::vector<int> others;
    const std::vector<int>* members = Members(device);
    if (!members)
        return others;
    for (auto member = members->begin(); member != members->end() && others.size() < most; ++member) {
        if (*member != device)
            others.push_back(*member);
    }
    return others;
}

} // namespace olg
