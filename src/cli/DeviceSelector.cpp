#include "DeviceSelector.h"

#include "DeviceText.h"
#include "IPAddrUtils.h"
#include "IpText.h"
#include "MacAddress.h"
#include "ParamIds.h"

namespace olg::cli {

namespace {

bool IsIpAddress(const std::string& text) {
    try {
        ValidateIPString(text);
        return true;
    } catch (const IPStringError&) {
        return false;
    }
}

QString DeviceName(const TOLG& record) {
    return DeviceText::Decode(record.Value(param::DeviceName).AsText());
}

} // namespace

int DeviceSelector::Select(const QString& name, QString* error) const {
    const std::string text = name.trimmed().toStdString();
    QList<int> matches;
    if (const std::optional<std::uint64_t> mac = ParseMac(text)) {
        for (int i = 0; i < devices_.Size(); ++i) {
            if (devices_.At(i).Mac == *mac)
                matches.append(i);
        }
        return Unique(matches, name, error);
    }
    if (IsIpAddress(text)) {
        // The address a reply came from names the device on this LAN; the configured one helps when a
        // router or the simulator stands between.
        for (int i = 0; i < devices_.Size(); ++i) {
            if (devices_.At(i).SenderAddress == text)
                matches.append(i);
        }
        if (matches.isEmpty()) {
            const std::int64_t address = static_cast<std::int32_t>(TextToIp(text));
            for (int i = 0; i < devices_.Size(); ++i) {
                const ParamValue& configured = devices_.At(i).Value(param::IpAddress);
                if (configured.IsInteger() && configured.AsInteger() == address)
                    matches.append(i);
            }
        }
        return Unique(matches, name, error);
    }
    for (int i = 0; i < devices_.Size(); ++i) {
        if (DeviceName(devices_.At(i)) == name)
            matches.append(i);
    }
    if (matches.isEmpty()) {
        for (int i = 0; i < devices_.Size(); ++i) {
            if (DeviceName(devices_.At(i)).compare(name, Qt::CaseInsensitive) == 0)
                matches.append(i);
        }
    }
    return Unique(matches, name, error);
}

QList<int> DeviceSelector::SelectSeveral(const QString& name, QString* error) const {
    QList<int> matches;
    if (name == QLatin1String("all")) {
        for (int i = 0; i < devices_.Size(); ++i)
            matches.append(i);
        if (matches.isEmpty())
            *error = QStringLiteral("no device answered the scan");
        return matches;
    }
    if (name.startsWith(QLatin1String("type="))) {
        const QString model = name.mid(5);
        for (int i = 0; i < devices_.Size(); ++i) {
            if (DeviceText::Decode(devices_.At(i).Value(param::ModelName).AsText())
                    .compare(model, Qt::CaseInsensitive) == 0)
                matches.append(i);
        }
        if (matches.isEmpty())
            *error = QStringLiteral("no device of type \"%1\" answered the scan").arg(model);
        return matches;
    }
    const int index = Select(name, error);
    if (index >= 0)
        matches.append(index);
    return matches;
}

bool DeviceSelector::NamesAnAddress(const QString& name) {
    const std::string text = name.trimmed().toStdString();
    return ParseMac(text).has_value() || IsIpAddress(text);
}

bool DeviceSelector::AnsweredAs(const TOLG& record, const QString& name) {
    const std::string text = name.trimmed().toStdString();
    if (const std::optional<std::uint64_t> mac = ParseMac(text))
        return record.Mac == *mac;
    return IsIpAddress(text) && record.SenderAddress == text;
}

int DeviceSelector::Unique(const QList<int>& matches, const QString& name, QString* error) const {
    if (matches.size() == 1)
        return matches.front();
    if (matches.isEmpty())
        *error = QStringLiteral("no device \"%1\" answered the scan").arg(name);
    else
        *error = QStringLiteral("%1 devices match \"%2\"; name one by its MAC address")
                     .arg(matches.size())
                     .arg(name);
    return -1;
}

} // namespace olg::cli
