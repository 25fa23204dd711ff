#include "ConfigFileStore.h"

#include "DeviceText.h"
#include "ParamDescriptor.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace olg {

std::optional<std::string> ConfigFileStore::ReadBytes(const QString& path, bool missingIsEmpty,
                                                      QString* error) {
    QFile file(path);
    if (missingIsEmpty && !QFileInfo::exists(path))
        return std::string();
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > MaxFileSize) {
        *error = QStringLiteral("%1 is too large for a configuration file").arg(path);
        return std::nullopt;
    }
    // The size is checked on what was read too: a device file tells no size. The bytes go straight into
    // the one string the profile keeps, one byte more than the file's size so that its end needs no more.
    std::string bytes(static_cast<std::size_t>(file.size()) + 1, '\0');
    qint64 length = 0;
    while (length <= MaxFileSize) {
        if (length == static_cast<qint64>(bytes.size()))
            bytes.resize(static_cast<std::size_t>(std::min(length + 64 * 1024, MaxFileSize + 1)));
        const qint64 read = file.read(bytes.data() + length, static_cast<qint64>(bytes.size()) - length);
        if (read <= 0)
            break;
        length += read;
    }
    bytes.resize(static_cast<std::size_t>(length));
    if (length > MaxFileSize) {
        *error = QStringLiteral("%1 is too large for a configuration file").arg(path);
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

bool ConfigFileStore::Save(const QString& path, const TOLG& record, QString* error) const {
    // A file that exists but cannot be read is not replaced: the sections of other models would be lost.
    std::optional<std::string> bytes = ReadBytes(path, true, error);
    if (!bytes)
        return false;
    ProfileFile profile(std::move(*bytes));
    const int refused = ConfigProfile(registry_).Store(record, profile);
    if (refused != 0) {
        *error = QStringLiteral("Parameter %1 holds a line break or a NUL byte, which a configuration file "
                                "cannot hold; nothing was written")
                     .arg(refused);
        return false;
    }
    const bool created = !QFileInfo::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    if (created)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const std::string written = profile.Bytes();
    file.write(written.data(), static_cast<qint64>(written.size()));
    if (!file.commit()) {
        *error = QStringLiteral("Cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

ConfigFileStore::LoadResult ConfigFileStore::Load(const QString& path, TOLG& record,
                                                  ConfigProfile::Check check, QString* error) const {
    std::optional<std::string> bytes = ReadBytes(path, false, error);
    if (!bytes)
        return LoadResult::Failed;
    ConfigProfile::Refusal refusal;
    switch (ConfigProfile(registry_).Load(ProfileFile(std::move(*bytes)), record, check, &refusal)) {
    case ConfigProfile::LoadResult::Loaded:
        return LoadResult::Loaded;
    case ConfigProfile::LoadResult::NotCompatible:
        return LoadResult::NotCompatible;
    case ConfigProfile::LoadResult::Refused:
        break;
    }
    *error = RefusalText(path, refusal);
    return LoadResult::Failed;
}

QString ConfigFileStore::RefusalText(const QString& path, const ConfigProfile::Refusal& refusal) {
    const auto tr = [](const char* text) { return QCoreApplication::translate("ConfigFileStore", text); };
    const QString value = DeviceText::Decode(refusal.Text.value_or(std::string()));
    QString reason;
    if (!refusal.Text)
        reason = tr("parameter %1: the file holds no value for it").arg(refusal.Id);
    else if (refusal.Kind == KindIp)
        reason = tr("parameter %1: \"%2\" is not an IPv4 address (four numbers 0-255 joined by dots)")
                     .arg(refusal.Id)
                     .arg(value);
    else if (refusal.Kind == KindText)
        reason = tr("parameter %1 holds a line break or a NUL byte, which a device text cannot hold")
                     .arg(refusal.Id);
    else
        reason = tr("parameter %1: \"%2\" is not a number from 0 to %3")
                     .arg(refusal.Id)
                     .arg(value)
                     .arg(ConfigProfile::NumberRange(refusal.Kind).second);
    return tr("%1: %2; the file was not loaded").arg(path, reason);
}

} // namespace olg
