#pragma once

#include <QString>

namespace olg {

// The program's settings: text values by group and name under the application's key.
class SettingsStore {
public:
    virtual ~SettingsStore() = default;

    // An empty text when the value is missing.
    virtual QString Value(const QString& group, const QString& name) = 0;
    virtual void SetValue(const QString& group, const QString& name, const QString& value) = 0;
};

} // namespace olg
