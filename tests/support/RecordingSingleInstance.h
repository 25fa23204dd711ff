#pragma once

#include "SingleInstance.h"

namespace olg::testing {

// The single instance for tests: the first claim wins unless told otherwise, and the test plays the later
// starts.
class RecordingSingleInstance : public SingleInstance {
public:
    bool Claim() override {
        ++claims;
        return claims == 1 && !othersRunning;
    }
    void LaterStart() { emit ActivationRequested(); }

    int claims = 0;
    bool othersRunning = false;
};

} // namespace olg::testing
