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

    bool Any() const {
        return NoAnswer || DelayMs > 0 || DropShare > 0.0 || Garbled || Truncated || WrongLengths ||
               NonMacIdentity || IgnoreWrites;
    }
};

} // namespace olg::sim
