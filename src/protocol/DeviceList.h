#pragma once

#include "DeviceRegistry.h"
#include "TOLG.h"

#include <cstdint>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace olg {

// The devices found since the last scan started, in the order of their first reply, with an index by identity
// so that merging a reply costs the same however many devices are listed.
class DeviceList {
public:
    explicit DeviceList(const DeviceRegistry& registry) : registry_(&registry) {}

    void Clear();
    // Merges one reply into the record of its source identity, appending a record on the first reply.
    // Returns the record's index, or -1 when the datagram is dropped: shorter than a header, or from an
    // identity whose bytes 2-7 are all FF (the broadcast identity is no device).
    int MergeReply(std::string_view senderAddress, const std::uint8_t* data, std::size_t size);
    // Index of the record with this identity, or -1.
    int Find(const DeviceIdentity& identity) const;
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
};

} // namespace olg
