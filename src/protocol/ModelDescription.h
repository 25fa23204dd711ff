#pragma once

#include "PageArguments.h"
#include "ParamDescriptor.h"
#include "ParamValue.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace olg {

// What a model dialog shows besides its pages; a model has some of it always, some from a firmware on.
using Features = std::uint32_t;
namespace feature {
inline constexpr Features HiddenPage = 1u << 0;    // the THidden page
inline constexpr Features DhcpSwitch = 1u << 1;    // the DHCP check box (its bit is kept either way)
inline constexpr Features HttpSwitch = 1u << 2;    // the "HTTP authorized" check box
inline constexpr Features OptionsButton = 1u << 3; // the full view behind "Options -->>"
// The DNS servers, the firmware version and the HTTPS/HTTP choice on the General tab (the choice hidden).
inline constexpr Features WebGeneral = 1u << 4;
inline constexpr Features AccessChoice = 1u << 5;    // the HTTPS/HTTP choice shown
inline constexpr Features PortInConfigBox = 1u << 6; // the port inside the Configuration group
} // namespace feature

// The firmware version (VersionNumber) from which a model dialog shows more.
struct FirmwareThreshold {
    std::uint32_t From = 0;
    Features Adds = 0;
};

// One run-time page of a model dialog.
struct ModelPage {
    PageArguments Arguments;
    std::string Caption; // the tab text, "%1" standing for Number; the hidden page brings its own
    int Number = 0;
    int PageIndex = 0; // the tab position at creation; each insertion shifts the later tabs
    // The page control of the model's form, by name, that receives the page; empty: the dialog's own.
    std::string PageControl;
    Features Requires = 0; // the page exists only for a firmware that shows all of these
};

// A type code the model is registered under, and how its web pages are reached (TConfigDevice.h).
struct ModelType {
    std::uint32_t TypeCode = 0;
    std::uint8_t WebScheme = 0;
};

// Everything the program knows of one device model: its parameter table, the type codes it answers to,
// the pages its dialog builds (in creation order) and what firmware versions switch, and where the blocks
// lie that the dialog's Designer form shows. The registry, the dialogs and the simulator all follow it.
struct ModelDescription {
    std::string Model{}; // "olg1n" ..., the model name of the registry and of the dialog's form
    TConfigFile Params{};
    std::vector<ModelType> Types{};
    std::uint8_t HasAdminPage = 0;
    std::vector<ModelPage> Pages{};
    Features Always = 0;
    std::vector<FirmwareThreshold> Thresholds{};
    bool VersionNote = false; // the firmware text may end in a blank and a build note, which does not count
    // The socket and user blocks that the form shows (pages describe their own), restart delays and the
    // default power-up state.
    std::vector<int> FormSocketBlocks{};
    std::vector<int> RestartDelayIds{};
    int PowerUpStateId = 0;

    // What the dialog shows for a device reporting this firmware version (its parameter 12); a version that
    // does not read as one counts as the oldest.
    Features FeaturesFor(const ParamValue& firmware) const;
};

// The models, in registration order.
const std::vector<ModelDescription>& ModelDescriptions();
// nullptr for an unknown model.
const ModelDescription* FindModelDescription(std::string_view model);

} // namespace olg
