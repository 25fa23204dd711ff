#include "DesktopWebBrowser.h"

#include <QDesktopServices>

namespace olg {

bool DesktopWebBrowser::Open(const QUrl& address) {
    return QDesktopServices::openUrl(address);
}

} // namespace olg
