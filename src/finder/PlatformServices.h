#pragma once

#include "PrinterService.h"
#include "SettingsStore.h"
#include "SystemInformation.h"
#include "WebBrowser.h"

#include <QString>

namespace olg {

// The platform's services the main window uses, one interface each. The program runs on the native ones;
// a test puts its recording ones in place before it creates a window.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;

    virtual SettingsStore& Settings() = 0;
    virtual PrinterService& Printer() = 0;
    virtual SystemInformation& System() = 0;
    virtual WebBrowser& Browser() = 0;
    // The executable whose version block names the distribution variant: the program's own file.
    virtual QString ExecutableFile() = 0;

    // The services in force: the native ones unless others were installed.
    static PlatformServices& Current();
    // nullptr returns to the native services. The caller keeps ownership.
    static void Install(PlatformServices* services);
};

} // namespace olg
