#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"

namespace olg {

// The registry entry of the device listed at this index; nullptr when the index lists none or the device's
// type code is not registered, and an action on it then does nothing.
inline const TConfigDevice* RegisteredEntry(const DeviceList& devices, const DeviceRegistry& registry,
                                            int index) {
    if (index < 0 || index >= devices.Size())
        return nullptr;
    const int type = registry.FindDeviceType(devices.At(index).TypeValue());
    return type < 0 ? nullptr : &registry.Entry(type);
}

} // namespace olg
