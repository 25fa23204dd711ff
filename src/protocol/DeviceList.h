#pragma once

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <cstdint>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace olg {

// The devices found since the last scan started, in the order of their first reply, with an index by identity
// so that merging a reply costs the same however many devices are listed.
class DeviceList {
public:
    // The most devices a list holds, far above any real LAN: a peer streaming replies from ever new
    // identities must not fill the memory and the grid. Replies of further devices are ignored.
    static constexpr int MaxDevices = 65536;

    explicit DeviceList(const DeviceRegistry& registry, int capacity = MaxDevices)
        : registry_(&registry), capacity_(capacity) {}

    // Empties the list and forgets that devices were ignored.
    void Clear();
    // Merges one reply into the record of its source identity, appending a record on the first reply.
    // Returns the record's index, or -1 when the datagram is dropped: shorter than a header, from an
    // identity whose bytes 2-7 are all FF (the broadcast identity is no device), or from a new device while
    // the list is full. A reply whose interface is not known keeps the one an earlier reply gave.
    int MergeReply(std::string_view senderAddress, const std::uint8_t* data, std::size_t size,
                   std::string_view interfaceName = {});
    int Capacity() const { return capacity_; }
    void SetCapacity(int capacity) { capacity_ = capacity; }
    // True once the reply of a new device was ignored because the list was full, until the list is emptied.
    bool Overflowed() const { return overflowed_; }
    // Index of the record with this identity, or -1.
    int Find(const DeviceIdentity& identity) const;
    // Removes the records for which remove is true; the others keep their order, and their indexes close up.
    void RemoveIf(const std::function<bool(const TOLG&)>& remove);
    // Adds a copy of a record of another list, or puts it back where its identity is; returns its index, or
    // -1 when the list is full.
    int Add(const TOLG& record);
    // Puts a whole record back, as a dialog does with its copy after OK. Its identity must stay the same.
    void Replace(int index, const TOLG& record);

    const TOLG& At(int index) const { return records_.at(static_cast<std::size_t>(index)); }
    const std::vector<TOLG>& Records() const { return records_; }
    int Size() const { return static_cast<int>(records_.size()); }
    bool Empty() const { return records_.empty(); }

private:
    static std::uint64_t Key(const DeviceIdentity& identity);

    const DeviceRegistry* registry_;
    std::vector<TOLG> records_;
    std::unordered_map<std::uint64_t, int> index_;
    int capacity_;
    bool overflowed_ = false;
};

} // namespace olg
