#include "DeviceWatch.h"

#include <algorithm>
#include <utility>

namespace olg {

namespace {

// Texts are made only for what changed: a scan of thousands of devices mostly changes nothing.
std::vector<FieldChange> Differences(const TOLG& before, const TOLG& after) {
    std::vector<FieldChange> changes;
    if (before.SenderAddress != after.SenderAddress)
        changes.push_back({FieldChange::Field::Address, before.SenderAddress, after.SenderAddress});
    for (const auto& [field, id] : {std::pair{FieldChange::Field::Name, param::DeviceName},
                                    std::pair{FieldChange::Field::Firmware, param::Firmware}})
        if (!(before.Value(id) == after.Value(id)) && before.Value(id).AsText() != after.Value(id).AsText())
            changes.push_back({field, before.Value(id).AsText(), after.Value(id).AsText()});
    return changes;
}

// What a scan lists of a device; copying the whole record for every answer of thousands of devices would
// cost more than the rest of a scan's bookkeeping.
bool SameListing(const TOLG& a, const TOLG& b) {
    for (const int id : {param::ModelName, param::DeviceName, param::Firmware, param::TypeCode})
        if (!(a.Value(id) == b.Value(id)))
            return false;
    return a.SenderAddress == b.SenderAddress && a.Interface == b.Interface && a.Mac == b.Mac;
}

} // namespace

std::uint64_t DeviceWatch::Key(const DeviceIdentity& identity) {
    std::uint64_t key = 0;
    for (const std::uint8_t byte : identity)
        key = key << 8 | byte;
    return key;
}

int DeviceWatch::Find(const DeviceIdentity& identity) const {
    const auto found = index_.find(Key(identity));
    return found == index_.end() ? -1 : found->second;
}

int DeviceWatch::OfflineCount() const {
    return static_cast<int>(std::count_if(devices_.begin(), devices_.end(),
                                          [](const WatchedDevice& device) { return !device.Online; }));
}

std::vector<WatchEvent> DeviceWatch::TakeScan(const std::vector<TOLG>& answered, std::int64_t nowMs) {
    std::vector<const TOLG*> records;
    records.reserve(answered.size());
    for (const TOLG& record : answered)
        records.push_back(&record);
    return TakeScan(records, nowMs);
}

std::vector<WatchEvent> DeviceWatch::TakeScan(const std::vector<const TOLG*>& answered, std::int64_t nowMs) {
    ++scans_;
    std::vector<WatchEvent> events;
    std::vector<bool> seen(devices_.size(), false);
    for (const TOLG* answer : answered) {
        const TOLG& record = *answer;
        const auto [position, added] =
            index_.try_emplace(Key(record.Identity), static_cast<int>(devices_.size()));
        const int index = position->second;
        if (added) {
            WatchedDevice device;
            device.Record = record;
            device.FirstSeenMs = device.LastSeenMs = nowMs;
            devices_.push_back(std::move(device));
            seen.push_back(true);
            events.push_back({WatchEvent::Kind::Appeared, index, {}});
            continue;
        }
        WatchedDevice& device = devices_[static_cast<std::size_t>(index)];
        // The same identity twice in one scan is one answer.
        if (seen[static_cast<std::size_t>(index)])
            continue;
        seen[static_cast<std::size_t>(index)] = true;
        if (!device.Online)
            events.push_back({WatchEvent::Kind::Back, index, {}});
        std::vector<FieldChange> changes = Differences(device.Record, record);
        if (!changes.empty()) {
            events.push_back({WatchEvent::Kind::Changed, index, changes});
            device.Changes = std::move(changes);
            device.ChangedMs = nowMs;
        }
        if (!SameListing(device.Record, record))
            device.Record = record;
        device.LastSeenMs = nowMs;
        device.Missed = 0;
        device.Online = true;
        device.New = false;
    }
    for (std::size_t i = 0; i < seen.size(); ++i) {
        WatchedDevice& device = devices_[i];
        if (seen[i])
            continue;
        device.New = false;
        ++device.Missed;
        if (device.Online && device.Missed >= MissesUntilOffline) {
            device.Online = false;
            events.push_back({WatchEvent::Kind::Offline, static_cast<int>(i), {}});
        }
    }
    return events;
}

void DeviceWatch::ForgetIf(bool (*forget)(const WatchedDevice&)) {
    std::erase_if(devices_, forget);
    index_.clear();
    for (std::size_t i = 0; i < devices_.size(); ++i)
        index_.emplace(Key(devices_[i].Record.Identity), static_cast<int>(i));
}

void DeviceWatch::ForgetOffline() {
    ForgetIf([](const WatchedDevice& device) { return !device.Online; });
}

void DeviceWatch::ForgetMissing() {
    ForgetIf([](const WatchedDevice& device) { return device.Missed > 0; });
}

void DeviceWatch::Clear() {
    devices_.clear();
    index_.clear();
    scans_ = 0;
}

} // namespace olg
