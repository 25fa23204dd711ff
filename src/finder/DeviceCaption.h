#pragma once

#include "DeviceText.h"
#include "MacAddress.h"
#include "ParamIds.h"
#include "TOLG.h"

#include <QString>

namespace olg {

// How the status bar names a device: by its name, or by its MAC while it has none.
inline QString DeviceCaption(const TOLG& record) {
    const QString name = DeviceText::Decode(record.Value(param::DeviceName).AsText());
    return name.trimmed().isEmpty() ? QString::fromStdString(FormatMac(".", record.Mac)) : name;
}

} // namespace olg
