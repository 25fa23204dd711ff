#include "ModelLayout.h"

#include "ModelDescription.h"

namespace olg::sim {

ModelLayout ModelLayout::ForModel(std::string_view model) {
    ModelLayout layout;
    const ModelDescription* description = FindModelDescription(model);
    if (description == nullptr)
        return layout;
    layout.SocketBases = description->FormSocketBlocks;
    layout.RestartDelayIds = description->RestartDelayIds;
    layout.PowerUpStateId = description->PowerUpStateId;
    for (const ModelPage& page : description->Pages) {
        std::visit(
            Overloaded{
                [&](const SecurityArguments& masks) {
                    for (int row = 0; row < masks.MaskCount; ++row)
                        layout.MaskBases.push_back(masks.AddressId(row));
                },
                [&](const SupervArguments& slot) { layout.SupervisionBases.push_back(slot.AddressId()); },
                [&](const MiscArguments& counters) {
                    layout.PowerUpCountIds.push_back(counters.PowerUpId());
                    for (int row = 0; row < counters.Sockets; ++row)
                        layout.SwitchCountIds.push_back(counters.SwitchingId(row));
                },
                [&](const LabArguments& labels) {
                    if (labels.Layout == MemberLayout)
                        layout.MemberNameIds.push_back(labels.DeviceNameId());
                    for (int row = 0; row < labels.Sockets; ++row)
                        layout.SocketBases.push_back(labels.SocketNameId(row));
                },
                [&](const RackArguments& accounts) {
                    if (accounts.Layout == MemberLayout)
                        layout.MemberFlagsIds.push_back(accounts.MemberFlagsId());
                },
                [](const HiddenArguments&) {},
            },
            page.Arguments);
    }
    return layout;
}

} // namespace olg::sim
