// Feeds a run of arbitrary datagrams, as one scan would receive them, into the device list.
// Input: datagrams each preceded by its length byte. Any broken invariant aborts.

#include "DeviceList.h"
#include "FuzzRequire.h"

#include <algorithm>
#include <cstdlib>
#include <set>

using namespace olg;
using olg::fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const DeviceRegistry registry = StandardRegistry();
    static const char* const senders[] = {"10.0.0.1", "10.0.0.2", "192.168.1.10", ""};

    DeviceList list(registry);
    std::size_t p = 0;
    int count = 0;
    while (p < size) {
        const std::size_t length = std::min<std::size_t>(data[p], size - p - 1);
        const std::uint8_t* datagram = data + p + 1;
        p += 1 + length;
        const int sizeBefore = list.Size();
        const int index = list.MergeReply(senders[count++ % 4], datagram, length);

        const bool dropped = length < 25 || std::all_of(datagram + 10, datagram + 16,
                                                        [](std::uint8_t b) { return b == 0xFF; });
        Require((index < 0) == dropped);
        if (dropped) {
            Require(list.Size() == sizeBefore);
            continue;
        }
        Require(index < list.Size() && list.Size() <= sizeBefore + 1);
        const TOLG& record = list.At(index);
        Require(std::equal(record.Identity.begin(), record.Identity.end(), datagram + 8));
        Require(list.Find(record.Identity) == index);
        // Only a 00 01 identity carries a MAC; the identity is the key, so a record never has both kinds.
        std::uint64_t mac = 0;
        if (datagram[8] == 0x00 && datagram[9] == 0x01)
            for (int i = 10; i < 16; ++i)
                mac = (mac << 8) | datagram[i];
        Require(record.Mac == mac);
    }

    // One record per identity, each found where it stands.
    std::set<DeviceIdentity> identities;
    for (int i = 0; i < list.Size(); ++i) {
        Require(identities.insert(list.At(i).Identity).second);
        Require(list.Find(list.At(i).Identity) == i);
    }
    return 0;
}
