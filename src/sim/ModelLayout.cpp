#include "ModelLayout.h"

namespace olg::sim {

namespace {

std::vector<int> Steps(int first, int count, int step) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(first + i * step);
    return ids;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

} // namespace

ModelLayout ModelLayout::ForModel(std::string_view model) {
    ModelLayout layout;
    if (model == "olg1n") {
        layout.MaskBases = Steps(30, 4, 2);
        layout.SupervisionBases = {20};
        layout.SocketBases = {40};
        layout.RestartDelayIds = {50};
        layout.PowerUpStateId = 70;
        layout.PowerUpCountId = 71;
        layout.SwitchCountIds = {72};
    } else if (model == "olg4a" || model == "olg4n") {
        layout.MaskBases = Steps(20, 4, 2);
        if (model == "olg4n")
            layout.SupervisionBases = Steps(28, 4, 7);
        layout.SocketBases = Steps(56, 4, 4);
        layout.RestartDelayIds = Steps(72, 4, 1);
        layout.PowerUpStateId = 80;
        layout.PowerUpCountId = 81;
        layout.SwitchCountIds = Steps(82, 4, 1);
    } else if (model == "olg8a") {
        layout.MaskBases = Steps(20, 8, 2);
        layout.RestartDelayIds = {36};
        layout.GroupDevices = 5;
        for (int o = 0; o <= 400; o += 100) {
            layout.SocketBases = Join(layout.SocketBases, Steps(41 + o, 8, 4));
            layout.SwitchCountIds = Join(layout.SwitchCountIds, Steps(82 + o, 8, 1));
        }
        layout.PowerUpCountId = 81; // and 181 ... 481, one per group device
    } else if (model == "olg8n") {
        layout.MaskBases = Steps(20, 4, 2);
        layout.SupervisionBases = Join(Steps(28, 4, 7), Steps(128, 4, 7));
        layout.SocketBases = Join(Steps(56, 4, 4), Steps(156, 4, 4));
        layout.RestartDelayIds = Join(Steps(72, 4, 1), Steps(172, 4, 1));
        layout.PowerUpStateId = 80;
        layout.PowerUpCountId = 81;
        layout.SwitchCountIds = Steps(82, 8, 1);
    } else if (model == "olg8k") {
        layout.MaskBases = Steps(20, 4, 2);
        layout.SocketBases = Join(Steps(56, 4, 4), Steps(156, 4, 4));
        layout.PowerUpCountId = 81;
        layout.SwitchCountIds = Steps(82, 8, 1);
    }
    return layout;
}

} // namespace olg::sim
