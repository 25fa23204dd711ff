#include "AddressPlan.h"

#include "ControlTag.h"
#include "ModelDescription.h"
#include "ParamIds.h"

#include "DeviceCaption.h"
#include "IPAddrUtils.h"
#include "IpText.h"

#include <QHash>

#include <optional>

namespace olg {

namespace {

QString Dotted(std::uint32_t address) {
    return QString::fromStdString(IpToText(address));
}

std::optional<std::uint32_t> Parse(const QString& text) {
    if (text.isEmpty())
        return std::nullopt;
    try {
        ValidateIPString(text.toStdString());
    } catch (const IPStringError&) {
        return std::nullopt;
    }
    return TextToIp(text.toStdString());
}

// Contiguous ones, leaving room for at least two devices' addresses.
bool IsMask(std::uint32_t mask) {
    const std::uint32_t host = ~mask;
    return mask != 0 && (host & (host + 1)) == 0 && host >= 3;
}

int PrefixLength(std::uint32_t mask) {
    int length = 0;
    for (; length < 32 && (mask & (0x80000000u >> length)) != 0; ++length) {
    }
    return length;
}

} // namespace

AddressPlan::AddressPlan(const DeviceList& devices, const QList<int>& planned, const QString& first,
                         const QString& mask, const QString& gateway) {
    for (int device : planned)
        rows_.append({device,
                      QString::fromStdString(devices.At(device).SenderAddress),
                      {},
                      {},
                      DhcpOn(devices.At(device))});
    problem_ = CheckFields(first, mask, gateway);
    if (problem_.isEmpty())
        CheckRows(devices, planned);
}

bool AddressPlan::DhcpOn(const TOLG& record) {
    const auto type = static_cast<std::uint32_t>(record.TypeValue().AsInteger());
    for (const ModelDescription& model : ModelDescriptions()) {
        for (const ModelType& known : model.Types) {
            if (known.TypeCode == type)
                return (model.FeaturesFor(record.Value(param::Firmware)) & feature::DhcpSwitch) != 0 &&
                       binding::LoadCheckBox(record.Value(param::ConfigFlags),
                                             ControlTag::Bit(param::ConfigFlags, param::DhcpBit));
        }
    }
    return false;
}

QString AddressPlan::CheckFields(const QString& first, const QString& mask, const QString& gateway) {
    const std::optional<std::uint32_t> start = Parse(first);
    if (!start)
        return tr("The first address is incomplete.");
    first_ = *start;
    const std::uint32_t leading = first_ >> 24;
    if (leading == 0 || leading >= 224)
        return tr("%1 cannot be a device's address.").arg(first);
    // The addresses are shown as soon as the first one is known, whatever the rest.
    for (int row = 0; row < rows_.size(); ++row)
        rows_[row].NewAddress = Dotted(AddressOf(row));
    const std::optional<std::uint32_t> subnetMask = Parse(mask);
    if (!subnetMask)
        return tr("The subnet mask is incomplete.");
    if (!IsMask(*subnetMask))
        return tr("%1 is not a subnet mask.").arg(mask);
    mask_ = *subnetMask;
    const std::uint32_t host = first_ & ~mask_;
    if (host == 0 || host == ~mask_ || (first_ & 0xFF) == 0 || (first_ & 0xFF) == 0xFF)
        return tr("%1 is not a device's address in the subnet %2/%3.")
            .arg(first, Dotted(first_ & mask_))
            .arg(PrefixLength(mask_));
    const std::optional<std::uint32_t> gatewayAddress = Parse(gateway);
    if (!gatewayAddress)
        return tr("The gateway is incomplete (0.0.0.0 for none).");
    gateway_ = *gatewayAddress;
    const std::uint32_t gatewayHost = gateway_ & ~mask_;
    if (gateway_ != 0 &&
        ((gateway_ & mask_) != (first_ & mask_) || gatewayHost == 0 || gatewayHost == ~mask_))
        return tr("The gateway %1 is not in the subnet %2/%3.")
            .arg(gateway, Dotted(first_ & mask_))
            .arg(PrefixLength(mask_));
    return {};
}

void AddressPlan::CheckRows(const DeviceList& devices, const QList<int>& planned) {
    // Every address a listed device outside the plan answers from or is configured with.
    QHash<std::uint32_t, int> taken;
    for (int index = 0; index < devices.Size(); ++index) {
        if (planned.contains(index))
            continue;
        const TOLG& record = devices.At(index);
        if (const std::optional<std::uint32_t> sender = Parse(QString::fromStdString(record.SenderAddress)))
            taken.insert(*sender, index);
        if (const auto configured = static_cast<std::uint32_t>(record.Value(param::IpAddress).AsInteger()))
            taken.insert(configured, index);
    }
    // The same /24 block, never x.x.x.255, and never the subnet's broadcast address.
    const std::uint32_t last = std::min(first_ | 0xFEu, (first_ | ~mask_) - 1);
    for (int row = 0; row < rows_.size(); ++row) {
        const std::uint32_t address = AddressOf(row);
        QString summary;
        if (address > last || address < first_) {
            rows_[row].Problem = tr("Past %1").arg(Dotted(last));
            summary = tr("%1 devices from %2 run past %3: start lower or select fewer devices.")
                          .arg(rows_.size())
                          .arg(Dotted(first_), Dotted(last));
        } else if (address == gateway_) {
            rows_[row].Problem = tr("The gateway's address");
            summary = tr("%1 is the gateway's address.").arg(Dotted(address));
        } else if (const auto other = taken.constFind(address); other != taken.cend()) {
            const QString caption = DeviceCaption(devices.At(*other));
            rows_[row].Problem = tr("Taken by %1").arg(caption);
            summary = tr("%1 is taken: %2 answers from it.").arg(Dotted(address), caption);
        }
        if (problem_.isEmpty())
            problem_ = summary;
    }
}

} // namespace olg
