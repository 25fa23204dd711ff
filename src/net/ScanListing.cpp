#include "ScanListing.h"

#include "DeviceText.h"
#include "MacAddress.h"
#include "ParamIds.h"

#include <QStringList>

namespace olg {

namespace {
constexpr std::size_t NamedMacs = 3;
} // namespace

ScanListing::ScanListing(const DeviceList& devices)
    : devices_(devices), conflicts_(FindAddressConflicts(devices)) {}

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
    return RecordRow(devices_.At(index), MacList(conflicts_.Others(index)));
}

QVariantList ScanListing::RecordRow(const TOLG& record, const QString& conflict) {
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
            conflict};
}

QString ScanListing::MacList(const std::vector<int>& indexes) const {
    QStringList macs;
    for (std::size_t i = 0; i < indexes.size() && i < NamedMacs; ++i)
        macs.append(QString::fromStdString(FormatMac(".", devices_.At(indexes[i]).Mac)));
    if (indexes.size() > NamedMacs)
        macs.append(QStringLiteral("%1 more").arg(indexes.size() - NamedMacs));
    return macs.join(QStringLiteral(" "));
}

} // namespace olg
