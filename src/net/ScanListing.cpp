#include "ScanListing.h"

#include "DeviceText.h"
#include "MacAddress.h"

namespace olg {

namespace {
constexpr int ModelNameParam = 5;
constexpr int DeviceNameParam = 7;
constexpr int FirmwareParam = 12;
constexpr int TypeCodeParam = 13;
} // namespace

QList<TableColumn> ScanListing::Columns() {
    return {{QStringLiteral("Name"), QStringLiteral("name")},
            {QStringLiteral("Type"), QStringLiteral("type")},
            {QStringLiteral("IP Address"), QStringLiteral("ip")},
            {QStringLiteral("MAC Address"), QStringLiteral("mac")},
            {QStringLiteral("Type code"), QStringLiteral("typeCode")},
            {QStringLiteral("Firmware"), QStringLiteral("firmware")}};
}

QVariantList ScanListing::Row(const TOLG& record) {
    const ParamValue& type = record.Value(TypeCodeParam);
    return {DeviceText::Decode(record.Value(DeviceNameParam).AsText()),
            DeviceText::Decode(record.Value(ModelNameParam).AsText()),
            QString::fromStdString(record.SenderAddress),
            QString::fromStdString(FormatMac(".", record.Mac)),
            type.IsEmpty() ? QString()
                           : QStringLiteral("0x%1").arg(static_cast<std::uint32_t>(type.AsInteger()), 8, 16,
                                                        QLatin1Char('0')),
            DeviceText::Decode(record.Value(FirmwareParam).AsText())};
}

} // namespace olg
