#include "ParamText.h"

#include "Datagram.h"
#include "DeviceText.h"
#include "ErrorBox.h"
#include "IPAddrUtils.h"
#include "IpText.h"
#include "MacAddress.h"
#include "ParamDescriptor.h"

namespace olg::cli {

namespace {

std::optional<std::uint64_t> ParseNumber(const QString& text) {
    bool ok = false;
    const QString trimmed = text.trimmed();
    const qulonglong value = trimmed.startsWith(QStringLiteral("0x"), Qt::CaseInsensitive)
                                 ? trimmed.mid(2).toULongLong(&ok, 16)
                                 : trimmed.toULongLong(&ok, 10);
    // toULongLong accepts a sign; a number typed with one is not a count or a code.
    if (!ok || trimmed.startsWith(QLatin1Char('-')) || trimmed.startsWith(QLatin1Char('+')))
        return std::nullopt;
    return value;
}

} // namespace

QString KindName(std::uint8_t kind) {
    switch (kind) {
    case KindIp:
        return QStringLiteral("ip");
    case KindText:
        return QStringLiteral("text");
    case KindU8:
        return QStringLiteral("u8");
    case KindU16:
        return QStringLiteral("u16");
    case KindU32:
        return QStringLiteral("u32");
    case KindSix:
        return QStringLiteral("six");
    default:
        return QStringLiteral("none");
    }
}

QString FormatParamValue(std::uint8_t kind, const ParamValue& value) {
    if (value.IsEmpty())
        return {};
    switch (kind) {
    case KindIp:
        return QString::fromStdString(IpToText(static_cast<std::uint32_t>(value.AsInteger())));
    case KindText:
        return DeviceText::Decode(value.AsText());
    case KindU32:
        // Held as a signed bit pattern; counters and type codes are unsigned.
        return QString::number(static_cast<std::uint32_t>(value.AsInteger()));
    case KindSix:
        return QString::fromStdString(FormatMac(".", static_cast<std::uint64_t>(value.AsInteger())));
    default:
        return QString::number(value.AsInteger());
    }
}

QString ShownParamValue(std::uint8_t kind, const ParamValue& value, bool password, bool showPasswords) {
    QString text = FormatParamValue(kind, value);
    if (password && !showPasswords && !text.isEmpty())
        text = QString::fromLatin1(MaskedPassword);
    return text;
}

const ParamNames& NamesOf(const DeviceRegistry& registry, const ParamValue& type) {
    const int index = registry.FindDeviceType(type);
    return ParamNames::ForModel(index >= 0 ? registry.Entry(index).Model : std::string());
}

std::optional<ParamValue> ParseParamValue(std::uint8_t kind, const QString& text, QString* error) {
    switch (kind) {
    case KindIp: {
        const std::string address = text.toStdString();
        try {
            ValidateIPString(address);
        } catch (const IPStringError&) {
            *error =
                QStringLiteral("\"%1\" is not an IPv4 address (four numbers 0-255 joined by dots)").arg(text);
            return std::nullopt;
        }
        // Kept as the signed bit pattern, as replies are.
        return ParamValue::Integer(static_cast<std::int32_t>(TextToIp(address)));
    }
    case KindText: {
        // A device keeps its texts in lines: a line break or a NUL byte would cut one, or garble the next.
        if (text.contains(QLatin1Char('\r')) || text.contains(QLatin1Char('\n')) || text.contains(QChar(0))) {
            *error = QStringLiteral("a device text cannot hold a line break or a NUL byte");
            return std::nullopt;
        }
        const std::optional<std::string> bytes = DeviceText::Encode(text);
        if (!bytes) {
            *error = QStringLiteral("\"%1\" holds a character the device's code page (Windows-1252) cannot "
                                    "carry")
                         .arg(text);
            return std::nullopt;
        }
        if (bytes->size() > MaxValueLength) {
            *error = QStringLiteral("the text is %1 bytes long; a device takes at most %2")
                         .arg(bytes->size())
                         .arg(MaxValueLength);
            return std::nullopt;
        }
        return ParamValue::Text(*bytes);
    }
    case KindU8:
    case KindU16:
    case KindU32: {
        const std::uint64_t maximum = kind == KindU8 ? 0xFF : kind == KindU16 ? 0xFFFF : 0xFFFFFFFF;
        const std::optional<std::uint64_t> number = ParseNumber(text);
        if (!number || *number > maximum) {
            *error = QStringLiteral("\"%1\" is not a number from 0 to %2").arg(text).arg(maximum);
            return std::nullopt;
        }
        if (kind == KindU32)
            return ParamValue::Integer(static_cast<std::int32_t>(static_cast<std::uint32_t>(*number)));
        return ParamValue::Integer(static_cast<std::int64_t>(*number));
    }
    default:
        *error = QStringLiteral("values of this kind are never written");
        return std::nullopt;
    }
}

QList<int> MissingWriteValues(const DeviceRegistry& registry, const TOLG& record, bool generalOnly) {
    const ParamValue& type = record.TypeValue();
    QList<int> missing;
    for (int id = MinParamId; id <= registry.MaxParamId(type); ++id) {
        const std::uint8_t kind = registry.ParamKind(id, type);
        // Write-only ids are never read, so only the read-write ones can lack a value that could be read.
        const std::uint8_t access = registry.ParamAccess(id, type);
        const bool written = registry.HasParam(id, type) &&
                             (access == AccessReadWrite || access == AccessLogin) && kind >= KindIp &&
                             kind <= KindU32;
        if (written && (!generalOnly || registry.IsGeneralParam(id, type)) && record.Value(id).IsEmpty())
            missing.append(id);
    }
    return missing;
}

QString MissingWriteValuesProblem(const DeviceRegistry& registry, const TOLG& record, bool generalOnly,
                                  const QString& device) {
    const QList<int> missing = MissingWriteValues(registry, record, generalOnly);
    if (missing.isEmpty())
        return {};
    QStringList ids;
    for (int id : missing)
        ids.append(QString::number(id));
    return QStringLiteral("%1 did not report parameter(s) %2; nothing was written")
        .arg(device, ids.join(QStringLiteral(", ")));
}

QString LoginsProblem(const DeviceRegistry& registry, const TOLG& record) {
    const int type = registry.FindDeviceType(record.TypeValue());
    if (type < 0)
        return {};
    std::vector<int> logins;
    for (const ParamDescriptor& descriptor : registry.Entry(type).Params) {
        if (descriptor.Access == AccessLogin)
            logins.push_back(descriptor.Id);
    }
    for (std::size_t i = 0; i < logins.size(); ++i) {
        for (std::size_t j = i + 1; j < logins.size(); ++j) {
            if (record.Value(logins[i]) == record.Value(logins[j]))
                return ErrorText(ErrorLoginsMustDiffer, DeviceText::Decode(record.Value(logins[i]).AsText()));
        }
    }
    return {};
}

} // namespace olg::cli
