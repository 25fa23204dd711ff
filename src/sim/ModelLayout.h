#pragma once

#include <string_view>
#include <vector>

namespace olg::sim {

// Where a model keeps its blocks of parameters, as its description gives them: what a device's firmware
// knows of its own table, used to give every parameter a value that makes sense for what it means (socket
// names, logins, masks, delays...).
struct ModelLayout {
    std::vector<int> MaskBases;        // address, then flags
    std::vector<int> SupervisionBases; // address, method, port, interval, retries, start delay, reboot delay
    std::vector<int> SocketBases;      // socket name, user login, user password, authorized sockets
    std::vector<int> RestartDelayIds;
    int PowerUpStateId = 0;
    std::vector<int> PowerUpCountIds; // one per group member, or the device's
    std::vector<int> SwitchCountIds;
    // olg8a: the name and the flags of each member of the group of devices.
    std::vector<int> MemberNameIds;
    std::vector<int> MemberFlagsIds;

    // The layout of a model by its name ("olg1n" ...); an empty layout for an unknown model.
    static ModelLayout ForModel(std::string_view model);
};

} // namespace olg::sim
