#include "ConfigFileStore.h"

#include "ConfigProfile.h"

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
    // The size is checked on what was read too: a device file tells no size.
    const QByteArray bytes = file.size() > MaxFileSize ? QByteArray() : file.read(MaxFileSize + 1);
    if (file.size() > MaxFileSize || bytes.size() > MaxFileSize) {
        *error = QStringLiteral("%1 is too large for a configuration file").arg(path);
        return std::nullopt;
    }
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("Cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes.toStdString();
}

bool ConfigFileStore::Save(const QString& path, const TOLG& record, QString* error) const {
    // A file that exists but cannot be read is not replaced: the sections of other models would be lost.
    const std::optional<std::string> bytes = ReadBytes(path, true, error);
    if (!bytes)
        return false;
    ProfileFile profile(*bytes);
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

ConfigFileStore::LoadResult ConfigFileStore::Load(const QString& path, TOLG& record, QString* error) const {
    const std::optional<std::string> bytes = ReadBytes(path, false, error);
    if (!bytes)
        return LoadResult::Failed;
    return ConfigProfile(registry_).Load(ProfileFile(*bytes), record) ? LoadResult::Loaded
                                                                      : LoadResult::NotCompatible;
}

} // namespace olg
