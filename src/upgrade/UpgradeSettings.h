#pragma once

#include "ExchangeSettings.h"
#include "FtpSettings.h"
#include "TftpSettings.h"

namespace olg {

// How the upgrade reaches a device's services; the defaults are the devices' own ports and waits.
struct UpgradeSettings {
    TftpSettings Tftp;
    FtpSettings Ftp;
    // How long "Waiting end of programming ..." stays after an FTP image.
    int ProgrammingWaitMs = 1000;

    // The devices' ports as the exchange settings give them.
    static UpgradeSettings For(const ExchangeSettings& exchange) {
        UpgradeSettings settings;
        settings.Tftp.Port = exchange.TftpPort;
        settings.Ftp.Port = exchange.FtpPort;
        return settings;
    }
};

} // namespace olg
