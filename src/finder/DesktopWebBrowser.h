#pragma once

#include "WebBrowser.h"

namespace olg {

// The browser the desktop opens web addresses with.
class DesktopWebBrowser : public WebBrowser {
public:
    bool Open(const QUrl& address) override;
};

} // namespace olg
