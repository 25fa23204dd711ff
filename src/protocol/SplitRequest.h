#pragma once

#include "Datagram.h"

#include <vector>

namespace olg {

enum class SplitOperation {
    Read,         // command 1: every listed readable id that is not general
    WriteGeneral, // command 2: the general ids only
    WriteAll,     // command 2: every listed writable id
};

struct SplitRequest {
    // Ids 1-100 in the first datagram, 101-200 in the second and so on; all but the last without end marker.
    std::vector<TSendBuf> Datagrams;
    // A write whose text is longer than one item can carry names the first such id here and has no datagrams:
    // nothing of it may be sent.
    int TooLongParam = 0;
};

// Builds the datagrams of a read or write of one device, addressed to the record's identity.
SplitRequest BuildSplitRequest(SplitOperation operation, const TOLG& record, const DeviceRegistry& registry,
                               std::uint16_t distributorCode);

} // namespace olg
