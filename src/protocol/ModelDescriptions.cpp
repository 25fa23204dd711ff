#include "Catalogue.h"
#include "FirmwareVersion.h"
#include "ModelDescription.h"
#include "TConfigDevice.h"

namespace olg {

namespace {

using namespace feature;

// The members of the olg8a group lie 100 ids apart.
constexpr int MemberOffset = 100;
constexpr int GroupMembers = 5;

ModelPage Page(PageArguments arguments, std::string caption, int pageIndex, std::string pageControl = {},
               int number = 0) {
    return ModelPage{arguments, std::move(caption), number, pageIndex, std::move(pageControl), 0};
}

// The hidden page, there only where the firmware shows it.
ModelPage Hidden(int pageIndex) {
    return ModelPage{HiddenArguments{}, {}, 0, pageIndex, {}, HiddenPage};
}

// "Supervision 1" ... at consecutive positions from the first.
void AddSupervision(std::vector<ModelPage>& pages, std::initializer_list<int> bases, int firstIndex,
                    const std::string& pageControl = {}) {
    int k = 0;
    for (const int base : bases) {
        pages.push_back(Page(SupervArguments{base}, "Supervision %1", firstIndex + k, pageControl, k + 1));
        ++k;
    }
}

std::vector<int> Ids(int first, int count, int step = 1) {
    std::vector<int> ids;
    for (int i = 0; i < count; ++i)
        ids.push_back(first + i * step);
    return ids;
}

std::vector<int> Join(std::vector<int> a, const std::vector<int>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

ModelDescription Olg1n() {
    ModelDescription model{.Model = "olg1n", .Params = Olg1nTable(), .Types = {{0x01010100, WebSchemeHttp}}};
    // Both go to position 6: the hidden page, added second, stands just before "Miscellaneous".
    model.Pages = {Page(SecurityArguments{30, 4, 1}, "Security", 3),
                   Page(SupervArguments{20}, "Supervision", 4),
                   Page(MiscArguments{71, 1, 1}, "Miscellaneous", 6), Hidden(6)};
    model.Always = HttpSwitch | OptionsButton;
    model.Thresholds = {{VersionNumber(1, 4, 0, 0), HiddenPage | DhcpSwitch}};
    model.FormSocketBlocks = {40};
    model.RestartDelayIds = {50};
    model.PowerUpStateId = 70;
    return model;
}

// olg4a and olg4n share the olg4n form and their ids; olg4n adds a supervision slot per socket.
ModelDescription Olg4(bool supervision) {
    ModelDescription model{.Model = supervision ? "olg4n" : "olg4a",
                           .Params = supervision ? Olg4nTable() : Olg4aTable(),
                           .Types = {{supervision ? 0x04010100u : 0x04000100u, WebSchemeHttp}}};
    model.Pages = {Page(SecurityArguments{20, 4, 1}, "Security", 4)};
    if (supervision)
        AddSupervision(model.Pages, {28, 35, 42, 49}, 5);
    // Both go to the same position: the hidden page, added second, stands just before "Miscellaneous".
    const int last = supervision ? 10 : 6;
    model.Pages.push_back(Page(MiscArguments{81, 4, 1}, "Miscellaneous", last));
    model.Pages.push_back(Hidden(last));
    model.Always = HttpSwitch | OptionsButton;
    model.Thresholds = {{VersionNumber(1, 2, 0, 0), supervision ? HiddenPage : HiddenPage | DhcpSwitch}};
    model.FormSocketBlocks = Ids(56, 4, 4);
    model.RestartDelayIds = Ids(72, 4);
    model.PowerUpStateId = 80;
    return model;
}

ModelDescription Olg8a() {
    ModelDescription model{.Model = "olg8a", .Params = Olg8aTable(), .Types = {{0x08000100, WebSchemeHttp}}};
    for (int d = 0; d < GroupMembers; ++d)
        model.Pages.push_back(Page(LabArguments{39 + MemberOffset * d, 8, 1, MemberLayout}, "Device %1",
                                   d + 1, "LabelControl", d + 1));
    for (int d = 0; d < GroupMembers; ++d)
        model.Pages.push_back(Page(RackArguments{40 + MemberOffset * d, 1, MemberLayout}, "Device %1", d + 1,
                                   "AccountControl", d + 1));
    model.Pages.push_back(Page(SecurityArguments{20, 8, 1}, "Security", 3));
    model.Pages.push_back(Hidden(5));
    for (int d = 0; d < GroupMembers; ++d)
        model.Pages.push_back(
            Page(MiscArguments{81 + MemberOffset * d, 8, 1}, "Device %1", d, "MiscControl", d + 1));
    // Neither DHCP nor HTTP switch on the group.
    model.Always = OptionsButton;
    model.Thresholds = {{VersionNumber(1, 2, 0, 0), HiddenPage}};
    model.RestartDelayIds = {36};
    return model;
}

// olg8n and olg8k: eight sockets, their labels and user accounts on pages.
ModelDescription Olg8(bool supervision) {
    ModelDescription model{.Model = supervision ? "olg8n" : "olg8k",
                           .Params = supervision ? Olg8nTable() : Olg8kTable(),
                           .Types = {{supervision ? 0x08010100u : 0x08020100u, WebSchemeHttp}}};
    model.Pages = {Page(LabArguments{56, 8, 1, StandAloneLayout}, "Labels", 1),
                   Page(RackArguments{56, 1, StandAloneLayout}, "Users", 1, "AccountControl"),
                   Page(SecurityArguments{20, 4, 1}, "Security", 3)};
    model.Always = HttpSwitch | OptionsButton;
    if (!supervision) {
        model.Pages.push_back(Page(MiscArguments{81, 8, 1}, "Miscellaneous", 4));
        return model;
    }
    // Sockets 5 to 8 lie 100 ids after sockets 1 to 4.
    AddSupervision(model.Pages, {28, 35, 42, 49, 128, 135, 142, 149}, 0, "SupervControl");
    // Both go to position 6: the hidden page, added second, stands just before "Miscellaneous".
    model.Pages.push_back(Page(MiscArguments{81, 8, 1}, "Miscellaneous", 6));
    model.Pages.push_back(Hidden(6));
    model.Thresholds = {{VersionNumber(1, 2, 0, 0), HiddenPage}};
    model.RestartDelayIds = Join(Ids(72, 4), Ids(172, 4));
    model.PowerUpStateId = 80;
    return model;
}

ModelDescription Olg8w() {
    ModelDescription model{.Model = "olg8w",
                           .Params = Olg8wTable(),
                           .Types = {{0x04030100, WebSchemeHttps},
                                     {0x08030100, WebSchemeHttps},
                                     {0x08030000, WebSchemeByFlags},
                                     {0x04030200, WebSchemeByFlags},
                                     {0x08030200, WebSchemeByFlags}},
                           .HasAdminPage = 1};
    // Only the General tab. No HTTP switch: where the firmware offers it, HTTPS or HTTP access is chosen.
    model.Always = DhcpSwitch | WebGeneral;
    model.Thresholds = {{VersionNumber(2, 0, 0, 0), AccessChoice},
                        {VersionNumber(2, 0, 0, 3), PortInConfigBox}};
    model.VersionNote = true;
    return model;
}

} // namespace

const std::vector<ModelDescription>& ModelDescriptions() {
    static const std::vector<ModelDescription> models{Olg1n(),    Olg4(false), Olg4(true), Olg8a(),
                                                      Olg8(true), Olg8(false), Olg8w()};
    return models;
}

} // namespace olg
