#pragma once

#include "SettingsStore.h"

namespace olg {

// The settings through QSettings in the platform's native form, named after the application title:
// HKEY_CURRENT_USER\Software\<title> on Windows, ~/.config/<title>.conf on Linux.
class QSettingsStore : public SettingsStore {
public:
    explicit QSettingsStore(const QString& applicationTitle) : title_(applicationTitle) {}

    QString Value(const QString& group, const QString& name) override;
    void SetValue(const QString& group, const QString& name, const QString& value) override;

private:
    QString title_;
};

} // namespace olg
