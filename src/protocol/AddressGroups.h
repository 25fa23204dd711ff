#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace olg {

// The listed devices grouped by where they answer from, kept up to date one reply at a time: two or more
// devices in one place conflict, as FindAddressConflicts finds them for a whole list. A reply costs the same
// however large its group grows, so a flood of new devices from one address never stalls the window.
class AddressGroups {
public:
    // The place of an address on an interface; none for an empty address, which conflicts with nothing.
    static std::string Place(std::string_view address, std::string_view interfaceName);

    void Clear();
    // Notes where this list index answers now. Returns the indexes whose conflict began or ended with it:
    // this one, and the one it joined or left when that one is or was alone with it. Nothing when the place
    // is the one noted before.
    std::vector<int> Move(int device, std::string_view address, std::string_view interfaceName);

    // How many other devices answer from this device's place.
    std::size_t OtherCount(int device) const;
    // The first few of them in list order, at most that many.
    std::vector<int> Others(int device, std::size_t most = SIZE_MAX) const;

private:
    const std::vector<int>* Members(int device) const;

    // Per place, its devices in list order.
    std::unordered_map<std::string, std::vector<int>> members_;
    // Per list index, its place; empty when none.
    std::vector<std::string> placeOf_;
};

} // namespace olg
