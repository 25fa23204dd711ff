#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "PlatformServices.h"
#include "Prompts.h"
#include "WebAddress.h"

#include <QObject>

namespace olg {

// Opens a device's home or administration page in the user's browser.
class WebPageController : public QObject {
    Q_OBJECT

public:
    WebPageController(const DeviceList& devices, const DeviceRegistry& registry, PlatformServices& platform,
                      Prompts& prompts, QObject* parent);

    void Open(int index, WebPage page);

private:
    const DeviceList& devices_;
    const DeviceRegistry& registry_;
    PlatformServices& platform_;
    Prompts& prompts_;
};

} // namespace olg
