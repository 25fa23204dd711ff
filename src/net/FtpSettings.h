#pragma once

#include <QtGlobal>

namespace olg {

// How the FTP client talks to a server. Every wait is bounded, so a silent or half-dead server ends in an
// error instead of a frozen program.
struct FtpSettings {
    quint16 Port = 21;
    // The longest wait for a connection, a reply or a transfer step.
    int TimeoutMs = 15000;
};

} // namespace olg
