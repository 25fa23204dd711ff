#pragma once

#include <QUrl>

namespace olg {

// The user's web browser.
class WebBrowser {
public:
    virtual ~WebBrowser() = default;

    // Hands the address to the browser without waiting for it; false when the desktop could not.
    virtual bool Open(const QUrl& address) = 0;
};

} // namespace olg
