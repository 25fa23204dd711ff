#pragma once

#include <cstdlib>

namespace olg::fuzz {

// A broken invariant aborts, so that the fuzzer keeps the input that broke it.
inline void Require(bool condition) {
    if (!condition)
        std::abort();
}

} // namespace olg::fuzz
