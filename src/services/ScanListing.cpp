#include "ScanListing.h"

#include "DeviceText.h"
#include "MacAddress.h"
#include "ParamIds.h"

#include <QStringList>

#include <algorithm>

namespace olg {

ScanListing::ScanListing(const DeviceList& devices)
    : devices_(devices), conflicts_(FindAddressConflicts(devices)) {
    constexpr auto named = static_cast<std::ptrdiff_t>(NamedMacs);
    for (const std::vector<int>& group : conflicts_.Groups)
        sharedTexts_.push_back(
            group.size() > NamedMacs
                ? MacList(std::vector<int>(group.begin(), group.begin() + named), group.size() - 1)
                : QString());
}

QList<TableColumn> ScanListing::Columns() {
    return {{QStringLiteral("Name"), QStringLiteral("name")},
            {QStringLiteral("Type"), QStringLiteral("type")},
            {QStringLiteral("IP Address"), QStringLiteral("ip")},
            {QStringLiteral("MAC Address"), QStringLiteral("mac")},
            {QStringLiteral("Type code"), QStringLiteral("typeCode")},
            {QStringLiteral("Firmware"), QStringLiteral("firmware")},
            {QStringLiteral("Interface"), QStringLiteral("interface")},
            {QStringLiteral("Conflict"), QStringLiteral("conflict")}};
}

QVariantList ScanListing::Row(int index) const {
    const TOLG& record = devices_.At(index);
    const ParamValue& type = record.Value(param::TypeCode);
    return {DeviceText::Decode(record.Value(param::DeviceName).AsText()),
            DeviceText::Decode(record.Value(param::ModelName).AsText()),
            QString::fromStdString(record.SenderAddress),
            QString::fromStdString(FormatMac(".", record.Mac)),
            type.IsEmpty() ? QString()
                           : QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(type.AsInteger()), 8, 16,
                                                        QLatin1Char('0')),
            DeviceText::Decode(record.Value(param::Firmware).AsText()),
            QString::fromStdString(record.Interface),
            ConflictText(index)};
}

QString ScanListing::ConflictText(int index) const {
    const int group = conflicts_.GroupOf[static_cast<std::size_t>(index)];
    if (group >= 0) {
        const std::vector<int>& members = conflicts_.Groups[static_cast<std::size_t>(group)];
        const auto heads = members.begin() + static_cast<std::ptrdiff_t>(std::min(members.size(), NamedMacs));
        if (std::find(members.begin(), heads, index) == heads)
            return sharedTexts_[static_cast<std::size_t>(group)];
    }
    return MacList(conflicts_.Others(index, NamedMacs), conflicts_.OtherCount(index));
}

QString ScanListing::MacList(const std::vector<int>& indexes, std::size_t total) const {
    QStringList macs;
    for (std::size_t i = 0; i < indexes.size() && i < NamedMacs; ++i)
        macs.append(QString::fromStdString(FormatMac(".", devices_.At(indexes[i]).Mac)));
    if (total > static_cast<std::size_t>(macs.size()))
        macs.append(QStringLiteral("%1 more").arg(total - static_cast<std::size_t>(macs.size())));
    return macs.join(QStringLiteral(" "));
}

} // namespace olg
