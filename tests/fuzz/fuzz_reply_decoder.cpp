// Feeds arbitrary datagrams to the reply decoder, the upgrade-answer parser and, with what was decoded, the
// request builders. Any read outside the datagram, undefined behaviour or broken invariant aborts.

#include "Datagram.h"
#include "FuzzRequire.h"
#include "ReplyDecoder.h"
#include "SplitRequest.h"

#include <cstdlib>

using namespace olg;
using olg::fuzz::Require;

namespace {

// Every datagram of a split request is a header and whole items of its range of 100 ids; only the last one
// ends with the end marker.
void CheckSplit(const SplitRequest& request) {
    if (request.TooLongParam != 0) {
        Require(request.Datagrams.empty());
        return;
    }
    Require(!request.Datagrams.empty());
    for (std::size_t k = 0; k < request.Datagrams.size(); ++k) {
        const TSendBuf& datagram = request.Datagrams[k];
        const bool last = k + 1 == request.Datagrams.size();
        Require(datagram.size() >= HeaderSize + (last ? 2 : 0));
        const std::size_t end = datagram.size() - (last ? 2 : 0);
        std::size_t p = HeaderSize;
        while (p < end) {
            Require(p + 3 <= end);
            const int id = ReadU16(datagram.data() + p);
            Require(id > static_cast<int>(k) * IdsPerDatagram &&
                    id <= static_cast<int>(k + 1) * IdsPerDatagram);
            p += 3 + datagram[p + 2];
        }
        Require(p == end);
        if (last)
            Require(ReadU16(datagram.data() + end) == EndMarker);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DeviceRegistry registry = StandardRegistry();

    // Once with no type known and once as each registered type, so every table's kinds are exercised.
    // One typed record, picked by the input, is then re-encoded by one of the three operations: a split
    // walks the whole table and costs far more than a decode.
    const auto types = static_cast<std::size_t>(registry.Count());
    const int encodedType = static_cast<int>(size % types);
    const auto operation = static_cast<SplitOperation>(size / types % 3);
    for (int entry = -1; entry < registry.Count(); ++entry) {
        TOLG record;
        if (entry >= 0)
            record.SetValue(13, ParamValue::Integer(registry.Entry(entry).TypeCode));
        const TOLG before = record;
        const DecodeResult result = DecodeReplyItems(data, size, record, registry);
        Require((result == DecodeResult::TooShort) == (size < HeaderSize));
        if (result == DecodeResult::TooShort)
            Require(record == before);
        if (entry == encodedType)
            CheckSplit(BuildSplitRequest(operation, record, registry, DefaultDistributorCode));
    }

    for (const std::uint8_t command : {CommandImageUpgrade, CommandFileUpgrade}) {
        if (ParseUpgradeReply(data, size, command) != UpgradeMode::None)
            Require(size >= EmptyRequestSize && data[CommandOffset] == command);
    }
    return 0;
}
