#pragma once

#include <QString>

namespace olg {

// Said once per scan when the device list is full and the replies of further devices are ignored.
QString IgnoredDevicesWarning(int capacity);

} // namespace olg
