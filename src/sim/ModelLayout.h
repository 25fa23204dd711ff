#pragma once

#include <string_view>
#include <vector>

namespace olg::sim {

// Where a model keeps its blocks of parameters: what a device's firmware knows of its own table, used to give
// every parameter a value that makes sense for what it means (socket names, logins, masks, delays...).
struct ModelLayout {
    std::vector<int> MaskBases;        // address, then flags
    std::vector<int> SupervisionBases; // address, method, port, interval, retries, start delay, reboot delay
    std::vector<int> SocketBases;      // socket name, user login, user password, authorized sockets
    std::vector<int> RestartDelayIds;
    int PowerUpStateId = 0;
    int PowerUpCountId = 0;
    std::vector<int> SwitchCountIds;
    // olg8a: the group of five devices, parameter blocks 100 ids apart.
    int GroupDevices = 0;

    // The layout of a model by its name ("olg1n" ...); an empty layout for an unknown model.
    static ModelLayout ForModel(std::string_view model);
};

} // namespace olg::sim
