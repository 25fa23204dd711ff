#pragma once

#include "NeighbourCache.h"
#include "PrinterService.h"
#include "SettingsStore.h"
#include "SystemInformation.h"
#include "WebBrowser.h"

#include <QString>

namespace olg {

// The platform's services the main window uses, one interface each. The program hands the window the native
// ones; a test hands it recording ones.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual SettingsStore& Settings() = 0;
    virtual PrinterService& Printer() = 0;
    virtual SystemInformation& System() = 0;
    virtual WebBrowser& Browser() = 0;
    // The host's neighbour table, cleared of a device's entry before its web pages open or its upgrade.
    virtual NeighbourCache& Neighbours() = 0;
    // The executable whose version block names the distribution variant: the program's own file.
    virtual QString ExecutableFile() = 0;
};

} // namespace olg
