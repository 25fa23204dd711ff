#include "QSettingsStore.h"

#include <QSettings>

namespace olg {

QString QSettingsStore::Value(const QString& group, const QString& name) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, title_);
    settings.beginGroup(group);
    return settings.value(name).toString();
}

void QSettingsStore::SetValue(const QString& group, const QString& name, const QString& value) {
    QSettings settings(QSettings::NativeFormat, QSettings::UserScope, title_);
    settings.beginGroup(group);
    settings.setValue(name, value);
}

} // namespace olg
