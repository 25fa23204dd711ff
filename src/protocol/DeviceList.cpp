#include "DeviceList.h"

#include "Datagram.h"
#include "ReplyDecoder.h"

#include <algorithm>

namespace olg {

void DeviceList::Clear() {
    records_.clear();
    index_.clear();
    overflowed_ = false;
}

void DeviceList::RemoveIf(const std::function<bool(const TOLG&)>& remove) {
    std::erase_if(records_, remove);
    index_.clear();
    for (std::size_t i = 0; i < records_.size(); ++i)
        index_.emplace(Key(records_[i].Identity), static_cast<int>(i));
}

std::uint64_t DeviceList::Key(const DeviceIdentity& identity) {
    return ReadBigEndian(identity.data(), identity.size());
}

int DeviceList::Find(const DeviceIdentity& identity) const {
    const auto found = index_.find(Key(identity));
    return found == index_.end() ? -1 : found->second;
}

int DeviceList::MergeReply(std::string_view senderAddress, const std::uint8_t* data, std::size_t size,
                           std::string_view interfaceName) {
    if (size < HeaderSize)
        return -1;
    DeviceIdentity source;
    std::copy_n(data + SourceOffset, source.size(), source.begin());
    if (std::all_of(source.begin() + 2, source.end(), [](std::uint8_t b) { return b == 0xFF; }))
        return -1;
    int index = Find(source);
    if (index < 0) {
        if (Size() >= capacity_) {
            overflowed_ = true;
            return -1;
        }
        index = Size();
        records_.emplace_back();
        index_.emplace(Key(source), index);
    }
    TOLG& record = records_[static_cast<std::size_t>(index)];
    record.Identity = source;
    record.SenderAddress = std::string(senderAddress);
    if (!interfaceName.empty())
        record.Interface = std::string(interfaceName);
    if (source[0] == 0x00 && source[1] == 0x01)
        record.Mac = ReadBigEndian(source.data() + 2, 6);
    DecodeReplyItems(data, size, record, *registry_);
    return index;
}

int DeviceList::Add(const TOLG& record) {
    int index = Find(record.Identity);
    if (index < 0) {
        if (Size() >= capacity_)
            return -1;
        index = Size();
        records_.push_back(record);
        index_.emplace(Key(record.Identity), index);
        return index;
    }
    Replace(index, record);
    return index;
}

void DeviceList::Replace(int index, const TOLG& record) {
    records_.at(static_cast<std::size_t>(index)) = record;
}

} // namespace olg
