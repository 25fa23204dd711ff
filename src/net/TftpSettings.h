#pragma once

#include <QtGlobal>

namespace olg {

// How the TFTP client talks to a server. The defaults are those of the devices; tests move the port and
// shorten the waits.
struct TftpSettings {
    quint16 Port = 69;
    // Offered in every request as the option "blksize"; 512 is used unless the server accepts it.
    int RequestedBlockSize = 1500;
    // The wait for every awaited packet.
    int TimeoutMs = 4000;
    // How long the socket of a finished get stays to acknowledge a repeated last block (never longer than
    // TimeoutMs). The get itself returns at once.
    int LastBlockWaitMs = 500;
};

} // namespace olg
