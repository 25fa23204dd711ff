#pragma once

namespace olg {

// The direction of a transfer, carried by its progress signals.
enum class WorkMode {
    Read,  // a get: bytes come from the server
    Write, // a put or a store: bytes go to the server
};

} // namespace olg
