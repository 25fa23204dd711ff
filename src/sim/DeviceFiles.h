#pragma once

#include <QByteArray>
#include <QString>

#include <map>

namespace olg::sim {

// What a device received through its upgrade services.
struct DeviceFiles {
    // The firmware image put by TFTP under "/"; empty until the first put.
    QByteArray Image;
    bool HasImage = false;
    // The FTP store, by file name (bytes as received, read as Latin-1).
    std::map<QString, QByteArray> FtpStore;
};

} // namespace olg::sim
