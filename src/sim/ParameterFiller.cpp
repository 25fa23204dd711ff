#include "ParameterFiller.h"

#include "ModelLayout.h"

#include "IPAddrUtils.h"
#include "IpText.h"
#include "ParamIds.h"

#include <array>
#include <charconv>
#include <map>

namespace olg::sim {

namespace {

// Numbers are held as the wire would give them back: 32-bit values as signed bit patterns.
ParamValue Number32(std::uint32_t value) {
    return ParamValue::Integer(static_cast<std::int32_t>(value));
}

class Writer {
public:
    Writer(TOLG& store, const TConfigFile& table) : store_(store) {
        for (const auto& descriptor : table)
            kinds_.emplace(descriptor.Id, static_cast<std::uint8_t>(descriptor.Kind & 0x7F));
    }

    // Each setter writes only where the table holds the id with that kind, so a layout can never give a
    // parameter a value of the wrong kind.
    void Ip(int id, std::uint32_t address) { Set(id, KindIp, Number32(address)); }
    void Text(int id, std::string_view text) { Set(id, KindText, ParamValue::Text(text.substr(0, 255))); }
    void U8(int id, unsigned value) { Set(id, KindU8, ParamValue::Integer(value & 0xFFu)); }
    void U16(int id, unsigned value) { Set(id, KindU16, ParamValue::Integer(value & 0xFFFFu)); }
    void U32(int id, std::uint32_t value) { Set(id, KindU32, Number32(value)); }
    void Six(int id, std::uint64_t value) {
        Set(id, KindSix, ParamValue::Integer(static_cast<std::int64_t>(value & 0xFFFFFFFFFFFFull)));
    }
    std::uint8_t Kind(int id) const {
        const auto found = kinds_.find(id);
        return found == kinds_.end() ? KindNone : found->second;
    }
    const std::map<int, std::uint8_t>& Kinds() const { return kinds_; }

private:
    void Set(int id, std::uint8_t kind, ParamValue value) {
        if (Kind(id) == kind)
            store_.SetValue(id, std::move(value));
    }

    TOLG& store_;
    std::map<int, std::uint8_t> kinds_;
};

std::string Password(std::string_view tag, int serial, int slot) {
    static constexpr std::string_view letters = "abcdefghjkmnpqrstuvwxyz23456789";
    std::uint32_t mix =
        static_cast<std::uint32_t>(serial) * 2654435761u + static_cast<std::uint32_t>(slot) * 40503u;
    std::string text(tag);
    text += '-';
    for (int i = 0; i < 6; ++i) {
        text += letters[mix % letters.size()];
        mix = mix / static_cast<std::uint32_t>(letters.size()) + 0x9E37u * static_cast<std::uint32_t>(i + 1);
    }
    return text;
}

// Anything the layout does not name still gets a value of its kind.
void FillByKind(Writer& writer, std::uint32_t network, int serial) {
    for (const auto& [id, kind] : writer.Kinds()) {
        const auto seed = static_cast<unsigned>(id * 7 + serial);
        switch (kind) {
        case KindIp:
            writer.Ip(id, network | (2u + static_cast<unsigned>(id) % 250u));
            break;
        case KindText:
            writer.Text(id, "text" + std::to_string(id));
            break;
        case KindU8:
            writer.U8(id, seed % 256);
            break;
        case KindU16:
            writer.U16(id, seed * 10u);
            break;
        case KindU32:
            writer.U32(id, seed * 1000u);
            break;
        case KindSix:
            writer.Six(id, 0x4F4C00000000ull + seed);
            break;
        default:
            break;
        }
    }
}

void FillLayout(Writer& writer, const ModelLayout& layout, std::uint32_t network, int serial) {
    for (std::size_t m = 0; m < layout.MaskBases.size(); ++m) {
        const int base = layout.MaskBases[m];
        writer.Ip(base, network | static_cast<std::uint32_t>(10 + m));
        // The first mask lets the local network in, the second is prepared but not activated.
        writer.U8(base + 1, m == 0 ? 3u : m == 1 ? 2u : 0u);
    }
    for (std::size_t k = 0; k < layout.SupervisionBases.size(); ++k) {
        const int base = layout.SupervisionBases[k];
        const auto slot = static_cast<unsigned>(k + 1);
        writer.Ip(base, network | (200u + slot));
        writer.U8(base + 1, slot % 2 == 1 ? 1u : 2u); // ping or scan
        writer.U16(base + 2, slot % 2 == 1 ? 80u : 8080u);
        writer.U16(base + 3, 30u * slot);
        writer.U16(base + 4, 3u + slot % 3);
        writer.U16(base + 5, 120u + 10u * slot);
        writer.U16(base + 6, 10u + slot);
    }
    const std::size_t groupMembers = layout.MemberNameIds.size();
    const std::size_t socketsPerDevice =
        groupMembers > 0 ? layout.SocketBases.size() / groupMembers : layout.SocketBases.size();
    for (std::size_t i = 0; i < layout.SocketBases.size(); ++i) {
        const int base = layout.SocketBases[i];
        const std::size_t socket = i % socketsPerDevice + 1;
        const std::size_t group = i / socketsPerDevice + 1;
        const std::string label = groupMembers > 0
                                      ? "u" + std::to_string(group) + "-" + std::to_string(socket)
                                      : "user" + std::to_string(socket);
        writer.Text(base, groupMembers > 0
                              ? "Unit " + std::to_string(group) + " outlet " + std::to_string(socket)
                              : "Outlet " + std::to_string(socket));
        writer.Text(base + 1, label);
        writer.Text(base + 2, Password("pw", serial, base));
        writer.U8(base + 3, 1u << ((socket - 1) % 8));
    }
    static constexpr std::array<unsigned, 5> restartDelays{5, 10, 15, 30, 60};
    for (std::size_t k = 0; k < layout.RestartDelayIds.size(); ++k)
        writer.U8(layout.RestartDelayIds[k], restartDelays[(k + static_cast<std::size_t>(serial)) % 5]);
    if (layout.PowerUpStateId != 0) {
        // Two bits per socket: 1 on, 2 off, 0 last status.
        const std::size_t sockets = writer.Kind(layout.PowerUpStateId) == KindU16 ? 8 : socketsPerDevice;
        unsigned state = 0;
        for (std::size_t s = 0; s < sockets; ++s)
            state |= ((static_cast<unsigned>(s) + static_cast<unsigned>(serial)) % 3u) << (2 * s);
        writer.U8(layout.PowerUpStateId, state);
        writer.U16(layout.PowerUpStateId, state);
    }
    for (std::size_t g = 0; g < layout.PowerUpCountIds.size(); ++g)
        writer.U32(layout.PowerUpCountIds[g],
                   10u + static_cast<std::uint32_t>(serial % 90) + static_cast<std::uint32_t>(g));
    for (std::size_t s = 0; s < layout.SwitchCountIds.size(); ++s)
        writer.U32(layout.SwitchCountIds[s],
                   100u + 7u * static_cast<std::uint32_t>(s) + static_cast<std::uint32_t>(serial));
    for (std::size_t g = 0; g < layout.MemberNameIds.size(); ++g)
        writer.Text(layout.MemberNameIds[g], "Unit " + std::to_string(g + 1));
    for (std::size_t g = 0; g < layout.MemberFlagsIds.size(); ++g)
        writer.U8(layout.MemberFlagsIds[g], g == 0 ? 1u : 0u);
}

} // namespace

void ParameterFiller::Fill(TOLG& store, const DeviceConfig& config, std::uint32_t ip, std::string_view model,
                           const TConfigFile& table) {
    Writer writer(store, table);
    const std::uint32_t network = ip & 0xFFFFFF00u;
    const int serial = config.Serial;
    FillByKind(writer, network, serial);

    writer.Ip(param::SubnetMask, 0xFFFFFF00u);
    writer.Ip(param::IpAddress, ip);
    writer.Ip(param::Gateway, network | ((ip & 0xFFu) == 1u ? 254u : 1u));
    writer.U16(param::WebPort, 80);
    writer.Text(param::ModelName, model);
    // Finder access on (bit 0); every bit beside it follows a pattern of its own over the devices, so that
    // a dialog that mixes two of them up changes the value: HTTP access (1) and https (7, read by the
    // models that offer both) on odd serials, the hidden page allowed (2) on even ones and protected (3) on
    // every other pair, DHCP (4) on every third device from the first.
    writer.U8(param::ConfigFlags, 0x01u | (serial % 2 == 1 ? 0x82u : 0x04u) |
                                      ((serial / 2) % 2 == 1 ? 0x08u : 0u) | (serial % 3 == 0 ? 0x10u : 0u));
    writer.Text(param::DeviceName, config.Name);
    writer.Text(param::AdminLogin, "admin");
    writer.Text(param::AdminPassword, Password("adm", serial, param::AdminPassword));
    writer.Six(param::SixByteValue, config.Mac ^ 0x00000000A5A5ull);
    writer.Text(param::Revision, "rev B");
    writer.Text(param::Firmware, config.Firmware);
    writer.U32(param::TypeCode, config.TypeCode);
    writer.Ip(param::Dns1, network | 1u);
    writer.Ip(param::Dns2, network | 2u);
    // As the configuration dialog keeps it: always with its leading slash.
    writer.Text(param::HiddenPageUrl, "/hidden.htm");
    writer.Text(param::HiddenPageLogin, "hidden");
    writer.Text(param::HiddenPagePassword, Password("hid", serial, param::HiddenPagePassword));
    writer.Text(param::MailTo, "alerts@example.net");
    FillLayout(writer, ModelLayout::ForModel(model), network, serial);

    for (const auto& [id, text] : config.Overrides)
        if (const auto value = ParseValue(writer.Kind(id), text))
            store.SetValue(id, *value);
}

std::optional<ParamValue> ParameterFiller::ParseValue(std::uint8_t kind, std::string_view text) {
    if (kind == KindText)
        return text.size() <= 255 ? std::optional(ParamValue::Text(text)) : std::nullopt;
    if (kind == KindIp) {
        // Strict: four octets, so that a typing error is not silently turned into another address.
        try {
            ValidateIPString(text);
        } catch (const IPStringError&) {
            return std::nullopt;
        }
        return Number32(TextToIp(text));
    }
    if (kind < KindU8 || kind > KindSix)
        return std::nullopt;
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    const std::uint64_t limit = kind == KindU8    ? 0xFFull
                                : kind == KindU16 ? 0xFFFFull
                                : kind == KindU32 ? 0xFFFFFFFFull
                                                  : 0xFFFFFFFFFFFFull;
    if (number > limit)
        return std::nullopt;
    if (kind == KindU32)
        return Number32(static_cast<std::uint32_t>(number));
    return ParamValue::Integer(static_cast<std::int64_t>(number));
}

} // namespace olg::sim
