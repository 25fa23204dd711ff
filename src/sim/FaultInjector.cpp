#include "FaultInjector.h"

#include "Datagram.h"

namespace olg::sim {

FaultInjector::FaultInjector(DeviceFaults faults, std::uint64_t seed) : faults_(faults), random_(seed) {}

bool FaultInjector::DropRequest() {
    if (faults_.DropShare <= 0.0)
        return false;
    return std::uniform_real_distribution<double>(0.0, 1.0)(random_) < faults_.DropShare;
}

void FaultInjector::SpoilReply(std::vector<std::uint8_t>& reply) {
    if (faults_.WrongLengths) {
        // Walk the items as they were built, then tamper: a value that no longer fits its kind must be
        // skipped by the reader, and a text item's wrong length shifts every later item.
        std::size_t position = HeaderSize;
        std::vector<std::size_t> lengthBytes;
        while (position + 3 <= reply.size() && ReadU16(reply.data() + position) != EndMarker) {
            lengthBytes.push_back(position + 2);
            position += 3u + reply[position + 2];
        }
        for (const std::size_t at : lengthBytes)
            reply[at] = static_cast<std::uint8_t>(reply[at] == 0 ? 1 : reply[at] - 1);
    }
    if (faults_.Garbled && reply.size() > 16) {
        // The identities stay, so the garbage is attributed to the device that sent it.
        std::uniform_int_distribution<std::size_t> where(16, reply.size() - 1);
        std::uniform_int_distribution<int> byte(0, 255);
        const std::size_t count = 1 + reply.size() / 8;
        for (std::size_t i = 0; i < count; ++i)
            reply[where(random_)] = static_cast<std::uint8_t>(byte(random_));
    }
    if (faults_.Truncated && reply.size() > 1) {
        std::uniform_int_distribution<std::size_t> length(1, reply.size() - 1);
        reply.resize(length(random_));
    }
}

} // namespace olg::sim
