#include "AddressConflicts.h"

#include <string_view>
#include <unordered_map>

namespace olg {

std::vector<std::vector<int>> FindAddressConflicts(const DeviceList& devices) {
    std::vector<std::vector<int>> conflicts(static_cast<std::size_t>(devices.Size()));
    std::unordered_map<std::string_view, std::vector<int>> byAddress;
    byAddress.reserve(conflicts.size());
    for (int index = 0; index < devices.Size(); ++index) {
        // A record that never had a sender address shares nothing with another.
        if (!devices.At(index).SenderAddress.empty())
            byAddress[devices.At(index).SenderAddress].push_back(index);
    }
    for (const auto& [address, indexes] : byAddress) {
        if (indexes.size() < 2)
            continue;
        for (int index : indexes) {
            std::vector<int>& others = conflicts[static_cast<std::size_t>(index)];
            for (int other : indexes) {
                if (other != index)
                    others.push_back(other);
            }
        }
    }
    return conflicts;
}

} // namespace olg
