#pragma once

namespace olg::sim {

// Misbehaviour a device can be switched to, so that the Finder's handling of bad peers can be shown.
struct DeviceFaults {
    // Receives and acts on requests but never answers: a device whose replies are lost on the way.
    bool NoAnswer = false;
    // Milliseconds between a request and its answer.
    int DelayMs = 0;
    // Share (0..1) of requests lost before the device sees them: a lost request is not acted on.
    double DropShare = 0.0;
    // Random bytes of the reply after the identities are replaced.
    bool Garbled = false;
    // The reply is cut at a random point, possibly inside the header.
    bool Truncated = false;
    // Every item's length byte is off by one, so no value fits its kind.
    bool WrongLengths = false;
    // The reply's source is the device's address identity (00 02 ...) instead of its MAC identity.
    bool NonMacIdentity = false;
    // Answers discovery and reads but ignores every write, neither acting on it nor answering.
    bool IgnoreWrites = false;

    // The upgrade services.
    bool TftpNoLastAck = false; // the last block of a put is stored but never acknowledged
    bool TftpError = false;     // every TFTP request gets an error packet
    bool TftpSilent = false;    // TFTP requests get no answer at all
    bool TftpCorrupt = false;   // a get returns the stored image with one byte changed
    bool TftpEndless = false;   // a get never ends: full blocks of the image over and over
    bool FtpBadLogin = false;   // the FTP login is refused with 530
    bool FtpStoreFails = false; // every STOR ends with 451 and stores nothing
    bool FtpSilent = false;     // FTP connections are accepted but never greeted

    bool Any() const {
        return NoAnswer || DelayMs > 0 || DropShare > 0.0 || Garbled || Truncated || WrongLengths ||
               NonMacIdentity || IgnoreWrites;
    }
};

} // namespace olg::sim
