#pragma once

#include "ConfigProfile.h"
#include "DeviceRegistry.h"
#include "TOLG.h"

#include <QString>

#include <optional>
#include <string>

namespace olg {

// Device configurations in ".cfg" files on disk. A save reads the whole file, changes the device's section
// and writes the result to a temporary file beside it that then replaces it, so that a crash or a full disk
// never leaves half a file. A file created here is readable by its owner only: it holds account passwords
// in clear. An existing file keeps its permissions.
class ConfigFileStore {
public:
    enum class LoadResult { Loaded, NotCompatible, Failed };

    explicit ConfigFileStore(const DeviceRegistry& registry) : registry_(registry) {}

    // Writes the record's parameters into its model's section of the file, creating the file when it is
    // absent. False, with the reason in *error and the file untouched, when the file cannot be read or
    // written or a text of the record cannot be held by it.
    bool Save(const QString& path, const TOLG& record, QString* error) const;
    // Reads the file into the record when it holds a configuration of the record's model and type code and
    // its values pass the check; otherwise the record is unchanged. Failed comes with the reason in *error,
    // a refused value named by its key and its text.
    LoadResult Load(const QString& path, TOLG& record, ConfigProfile::Check check, QString* error) const;

    // Larger files are no configuration: they are refused rather than read into memory.
    static constexpr qint64 MaxFileSize = 16 * 1024 * 1024;

private:
    // The file's bytes; nothing with *error set when it cannot be read. A missing file reads as empty when
    // missingIsEmpty.
    static std::optional<std::string> ReadBytes(const QString& path, bool missingIsEmpty, QString* error);
    static QString RefusalText(const QString& path, const ConfigProfile::Refusal& refusal);

    const DeviceRegistry& registry_;
};

} // namespace olg
