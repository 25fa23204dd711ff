#pragma once

#include "TOLG.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace olg {

// One field of a device whose change is told, with its texts before and after (device texts as bytes).
struct FieldChange {
    enum class Field { Address, Name, Firmware };
    Field What = Field::Address;
    std::string Old;
    std::string New;
};

// What one scan showed of a device that the watch follows.
struct WatchEvent {
    enum class Kind { Appeared, Changed, Offline, Back };
    Kind What = Kind::Appeared;
    // Index into DeviceWatch::Devices() as it stands after the scan.
    int Device = 0;
    // Changed only.
    std::vector<FieldChange> Changes;
};

// A device as the watch knows it.
struct WatchedDevice {
    // Its record as of the latest reply that changed what a scan lists of it (address, interface, MAC, model,
    // name, firmware, type code); an offline device keeps its last one.
    TOLG Record;
    std::int64_t FirstSeenMs = 0;
    std::int64_t LastSeenMs = 0;
    // Scans in a row that it did not answer.
    int Missed = 0;
    bool Online = true;
    // First seen in the latest scan, until then or until ClearNew.
    bool New = true;
    // What its latest change was, and when; empty when it never changed.
    std::vector<FieldChange> Changes;
    std::int64_t ChangedMs = 0;
};

// Follows the devices of a LAN from scan to scan: which appeared, which changed their address, name or
// firmware, which stopped answering (two scans in a row without a reply) and which came back. Plain data in
// and out, so the window and olgctl watch tell the same story. Devices are keyed by their identity.
class DeviceWatch {
public:
    static constexpr int MissesUntilOffline = 2;

    // Takes the records of the devices that answered one scan, in the order of their first replies, and the
    // time the scan ended. Returns the events in order: the answering devices in the order given (appeared;
    // back, then changed), then the devices that went offline in the watch's own order.
    std::vector<WatchEvent> TakeScan(const std::vector<TOLG>& answered, std::int64_t nowMs);
    // The same without copies of the records.
    std::vector<WatchEvent> TakeScan(const std::vector<const TOLG*>& answered, std::int64_t nowMs);

    const std::vector<WatchedDevice>& Devices() const { return devices_; }
    int Find(const DeviceIdentity& identity) const;
    int ScanCount() const { return scans_; }
    int OfflineCount() const;
    void ClearNew(int index) { devices_.at(static_cast<std::size_t>(index)).New = false; }

    // Forgets the offline devices; the others keep their order, their indexes change.
    void ForgetOffline();
    // Forgets the devices that did not answer the latest scan, as a scan that rebuilds a list does.
    void ForgetMissing();
    void Clear();

    // The identity as one number, for sets and maps of devices.
    static std::uint64_t Key(const DeviceIdentity& identity);

private:
    void ForgetIf(bool (*forget)(const WatchedDevice&));

    std::vector<WatchedDevice> devices_;
    std::unordered_map<std::uint64_t, int> index_;
    int scans_ = 0;
};

} // namespace olg
