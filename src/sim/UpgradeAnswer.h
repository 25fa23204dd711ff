#pragma once

namespace olg::sim {

// How a device wants its firmware: decides its answers to the upgrade requests (commands 3 and 4).
enum class UpgradeAnswer {
    Tftp, // command 3: FF FE (image by TFTP); command 4: no answer, a TFTP-only device takes no file set
    Ftp,  // command 3: FF FD (image by FTP); command 4: FF FC (file set by FTP)
    None, // no answer to either: upgrades are locked
};

} // namespace olg::sim
