// The main window's actions that open a device's web pages in the default browser.

#include "ParamIds.h"
#include "TFormMain.h"

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
    // Whether that worked is not reported, as the user sees the page or not.
    neighbours_->DropEntry(address);
    const QString url = QString::fromStdString(
        WebAddress(record.SenderAddress, record.Value(param::WebPort).AsInteger(),
                   record.Value(param::ConfigFlags).AsInteger(), registry_.Entry(type).WebScheme, page));
    // Without a browser the request would fail unseen: the address is shown instead, to be copied.
    if (!platform_.Browser().Open(QUrl(url, QUrl::StrictMode)))
        prompts_.ShowWarning(
            tr("No web browser could be started for the device's page. Its address:\n\n%1").arg(url));
}

} // namespace olg
