#include "VirtualDevice.h"

#include "ParameterFiller.h"

#include "Catalogue.h"
#include "Datagram.h"
#include "ReplyDecoder.h"

#include <algorithm>

namespace olg::sim {

namespace {

constexpr DeviceIdentity NoIdentity{};

// The largest UDP payload over IPv4.
constexpr std::size_t MaxReplySize = 65507;

bool IdentityAt(const std::uint8_t* data, std::size_t offset, const DeviceIdentity& identity) {
    return std::equal(identity.begin(), identity.end(), data + offset);
}

// A device of a type the Finder does not know still has the block every model shares.
TConfigFile CommonBlock() {
    TConfigFile table = Olg1nTable();
    std::erase_if(table, [](const ParamDescriptor& descriptor) { return descriptor.Id > param::TypeCode; });
    return table;
}

std::size_t WireLength(std::uint8_t kind) {
    switch (kind) {
    case KindIp:
    case KindU32:
        return 4;
    case KindU8:
        return 1;
    case KindU16:
        return 2;
    case KindSix:
        return 6;
    default:
        return 0;
    }
}

} // namespace

VirtualDevice::VirtualDevice(const DeviceConfig& config, std::uint32_t ip, const DeviceRegistry& registry)
    : config_(config), upgrade_(UpgradeAnswer::Tftp), faults_(config.Faults, config.Mac ^ 0x5EEDull) {
    const int entry = registry.FindDeviceType(ParamValue::Integer(config.TypeCode));
    if (entry >= 0) {
        table_ = registry.Entry(entry).Params;
        model_ = registry.Entry(entry).Model;
        // The devices with an administration page are the newer ones, upgraded by FTP.
        upgrade_ = registry.Entry(entry).HasAdminPage ? UpgradeAnswer::Ftp : UpgradeAnswer::Tftp;
    } else {
        table_ = CommonBlock();
        model_ = "olgX";
    }
    if (!config.Model.empty())
        model_ = config.Model;
    if (config.Upgrade)
        upgrade_ = *config.Upgrade;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const std::size_t id = table_[i].Id;
        if (id >= descriptorOf_.size())
            descriptorOf_.resize(id + 1, -1);
        if (descriptorOf_[id] < 0)
            descriptorOf_[id] = static_cast<int>(i);
    }
    ParameterFiller::Fill(store_, config_, ip, model_, table_);
}

std::uint32_t VirtualDevice::Ip() const {
    return static_cast<std::uint32_t>(store_.Value(param::IpAddress).AsInteger());
}

std::uint32_t VirtualDevice::AnsweringAddress(std::uint32_t given) const {
    // 127.255.255.255 is the loopback net's broadcast: no device lives there.
    const std::uint32_t ip = Ip();
    return (ip >> 24) == 127u && ip != 0x7FFFFFFFu ? ip : given;
}

std::uint8_t VirtualDevice::Kind(int id) const {
    if (id < 0 || id >= static_cast<int>(descriptorOf_.size()) ||
        descriptorOf_[static_cast<std::size_t>(id)] < 0)
        return KindNone;
    const auto& descriptor = table_[static_cast<std::size_t>(descriptorOf_[static_cast<std::size_t>(id)])];
    // The fixed kinds of the discovery ids hold for every device, as the Finder decodes them.
    const std::uint8_t builtIn = BuiltInKind(id);
    return builtIn != KindNone ? builtIn : static_cast<std::uint8_t>(descriptor.Kind & 0x7F);
}

std::uint8_t VirtualDevice::Access(int id) const {
    if (Kind(id) == KindNone)
        return AccessRead;
    return table_[static_cast<std::size_t>(descriptorOf_[static_cast<std::size_t>(id)])].Access;
}

bool VirtualDevice::SetParameter(int id, std::string_view text) {
    const std::uint8_t kind = Kind(id);
    std::optional<ParamValue> value =
        kind == KindNone ? std::nullopt : ParameterFiller::ParseValue(kind, text);
    if (!value)
        return false;
    store_.SetValue(id, std::move(*value));
    return true;
}

DeviceAnswer VirtualDevice::Answer(const std::uint8_t* data, std::size_t size) {
    DeviceAnswer answer;
    // Only the Finder's requests count: they carry no source identity. Replies of other devices (heard when
    // they answer by broadcast) must never be taken for requests, or two devices could talk forever.
    if (size < HeaderSize || !IdentityAt(data, SourceOffset, NoIdentity))
        return answer;
    const std::uint8_t command = data[CommandOffset];
    const DeviceIdentity own = MacIdentity(config_.Mac);
    const bool toMe = IdentityAt(data, DestinationOffset, own);
    const bool toAll = IdentityAt(data, DestinationOffset, BroadcastIdentity);
    const bool toMyAddress =
        IdentityAt(data, DestinationOffset, AddressIdentity(Ip())) ||
        (answeringAddress_ != 0 && IdentityAt(data, DestinationOffset, AddressIdentity(answeringAddress_)));

    std::vector<std::uint8_t> reply;
    bool answered = false;
    if (command == CommandRead && (toMe || toAll)) {
        if (faults_.DropRequest())
            return answer;
        answered = Read(data, size, reply);
    } else if (command == CommandWrite && toMe) {
        if (faults_.Faults().IgnoreWrites || faults_.DropRequest())
            return answer;
        answer.Changed = Write(data, size, reply);
        answered = true;
    } else if ((command == CommandImageUpgrade || command == CommandFileUpgrade) && toMyAddress) {
        if (faults_.DropRequest())
            return answer;
        answer.UpgradeRequested = true;
        std::uint8_t code = 0;
        if (command == CommandImageUpgrade && upgrade_ != UpgradeAnswer::None)
            code = upgrade_ == UpgradeAnswer::Tftp ? 0xFE : 0xFD;
        if (command == CommandFileUpgrade && upgrade_ == UpgradeAnswer::Ftp)
            code = 0xFC;
        if (code != 0) {
            StartReply(data, reply);
            reply.push_back(0xFF);
            reply.push_back(code);
            answered = true;
        }
    }
    if (!answered || faults_.Faults().NoAnswer)
        return answer;
    if (faults_.Faults().NonMacIdentity) {
        const DeviceIdentity address = AddressIdentity(Ip());
        std::copy(address.begin(), address.end(), reply.begin() + SourceOffset);
    }
    faults_.SpoilReply(reply);
    answer.Answered = true;
    answer.Datagram = std::move(reply);
    answer.DelayMs = faults_.Faults().DelayMs;
    return answer;
}

void VirtualDevice::StartReply(const std::uint8_t* request, std::vector<std::uint8_t>& reply) const {
    // Destination: no identity, as the Finder has none. Source: the device's MAC identity. The distributor
    // code goes back as it came.
    reply.assign(HeaderSize, 0);
    const DeviceIdentity own = MacIdentity(config_.Mac);
    std::copy(own.begin(), own.end(), reply.begin() + SourceOffset);
    reply[16] = 0x00;
    reply[17] = 0x01;
    reply[DistributorOffset] = request[DistributorOffset];
    reply[DistributorOffset + 1] = request[DistributorOffset + 1];
    reply[CommandOffset] = request[CommandOffset];
}

void VirtualDevice::AppendValue(std::vector<std::uint8_t>& reply, int id) const {
    const std::uint8_t kind = Kind(id);
    const ParamValue& value = store_.Value(id);
    reply.push_back(static_cast<std::uint8_t>(id >> 8));
    reply.push_back(static_cast<std::uint8_t>(id & 0xFF));
    if (kind == KindText) {
        const std::string text = value.AsText();
        const std::size_t length = std::min(text.size(), MaxValueLength);
        reply.push_back(static_cast<std::uint8_t>(length));
        reply.insert(reply.end(), text.begin(), text.begin() + static_cast<std::ptrdiff_t>(length));
        return;
    }
    const std::size_t length = WireLength(kind);
    reply.push_back(static_cast<std::uint8_t>(length));
    AppendBigEndian(reply, static_cast<std::uint64_t>(value.AsInteger()), length);
}

bool VirtualDevice::Read(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& reply) const {
    StartReply(data, reply);
    // Every datagram of a split read is answered on its own, whether or not it carries the end marker.
    std::size_t position = HeaderSize;
    while (position + 2 <= size) {
        const int id = ReadU16(data + position);
        if (id == EndMarker)
            break;
        // A request item normally has no value, but its length byte is honoured to find the next one.
        const std::size_t length = position + 3 <= size ? data[position + 2] : 0;
        if (position + 3 + length > size)
            break;
        if (Kind(id) != KindNone && Access(id) != AccessWriteOnly) {
            const std::size_t before = reply.size();
            AppendValue(reply, id);
            // A reply ends where a datagram does: the items that fit are answered, the rest are not, and no
            // time goes into building what could never be sent.
            if (reply.size() + 2 > MaxReplySize) {
                reply.resize(before);
                break;
            }
        }
        position += 3 + length;
    }
    reply.push_back(0xFF);
    reply.push_back(0xFF);
    return true;
}

bool VirtualDevice::Write(const std::uint8_t* data, std::size_t size, std::vector<std::uint8_t>& reply) {
    StartReply(data, reply);
    bool changed = false;
    std::size_t position = HeaderSize;
    while (position + 3 <= size) {
        const int id = ReadU16(data + position);
        if (id == EndMarker)
            break;
        const std::size_t length = data[position + 2];
        const std::uint8_t* value = data + position + 3;
        if (position + 3 + length > size)
            break;
        position += 3 + length;
        const std::uint8_t kind = Kind(id);
        // Read-only ids, ids of another model and values of the wrong length are left alone, as firmware
        // that checks its input would.
        if (kind == KindNone || kind == KindSix || Access(id) == AccessRead)
            continue;
        if (kind != KindText && length != WireLength(kind))
            continue;
        ParamValue decoded = DecodeValue(kind, value, length);
        if (decoded.IsEmpty())
            continue;
        changed = changed || !(store_.Value(id) == decoded);
        store_.SetValue(id, std::move(decoded));
        // The reply confirms each stored value.
        AppendValue(reply, id);
    }
    reply.push_back(0xFF);
    reply.push_back(0xFF);
    return changed;
}

} // namespace olg::sim
