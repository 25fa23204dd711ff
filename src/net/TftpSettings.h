#pragma once

#include "TftpTransfer.h"

#include <QtGlobal>

namespace olg {

// How the TFTP client talks to a server: the waits of every transfer, and the server's port and the block
// size offered. The defaults are those of the devices; tests move the port and shorten the waits.
struct TftpSettings : TftpTiming {
    quint16 Port = 69;
    // Offered in every request as the option "blksize"; 512 is used unless the server accepts it.
    int RequestedBlockSize = 1500;
};

} // namespace olg
