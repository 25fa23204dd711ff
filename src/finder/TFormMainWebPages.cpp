// The main window's actions that open a device's web pages in the default browser.

#include "ParamIds.h"
#include "TFormMain.h"

#include <QDesktopServices>
#include <QUrl>

namespace olg {

void TFormMain::Home() {
    OpenWebPage(WebPage::Home);
}

void TFormMain::AdminButtonClick() {
    OpenWebPage(WebPage::Administration);
}

void TFormMain::OpenWebPage(WebPage page) {
    if (devices_.Empty())
        return;
    const TOLG& record = devices_.At(selectedDevice_);
    const int type = registry_.FindDeviceType(record.TypeValue());
    if (type < 0)
        return;
    const QString address = QString::fromStdString(record.SenderAddress);
    // The device may have taken its address over from other hardware: forget the old hardware address first.
    // What happens here and to the browser is not reported, as the user sees the page or not.
    neighbours_->DropEntry(address);
    const std::string url =
        WebAddress(record.SenderAddress, record.Value(param::WebPort).AsInteger(),
                   record.Value(param::ConfigFlags).AsInteger(), registry_.Entry(type).WebScheme, page);
    QDesktopServices::openUrl(QUrl(QString::fromStdString(url), QUrl::StrictMode));
}

} // namespace olg
