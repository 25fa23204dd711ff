#pragma once

#include "DesktopWebBrowser.h"
#include "PlatformServices.h"
#include "ProcSystemInformation.h"
#include "QSettingsStore.h"
#include "QtPrinterService.h"

namespace olg {

// The services of the machine the program runs on.
class NativePlatform : public PlatformServices {
public:
    NativePlatform();

    SettingsStore& Settings() override { return settings_; }
    PrinterService& Printer() override { return printer_; }
    SystemInformation& System() override { return system_; }
    WebBrowser& Browser() override { return browser_; }
    QString ExecutableFile() override;

private:
    QSettingsStore settings_;
    QtPrinterService printer_;
    ProcSystemInformation system_;
    DesktopWebBrowser browser_;
};

} // namespace olg
