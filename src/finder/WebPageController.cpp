#include "WebPageController.h"

#include "ParamIds.h"
#include "RegisteredEntry.h"

#include <QUrl>

namespace olg {

WebPageController::WebPageController(const DeviceList& devices, const DeviceRegistry& registry,
                                     PlatformServices& platform, Prompts& prompts, QObject* parent)
    : QObject(parent), devices_(devices), registry_(registry), platform_(platform), prompts_(prompts) {}

void WebPageController::Open(int index, WebPage page) {
    const TConfigDevice* entry = RegisteredEntry(devices_, registry_, index);
    if (!entry)
        return;
    const TOLG& record = devices_.At(index);
    const QString address = QString::fromStdString(record.SenderAddress);
    // The device may have taken its address over from other hardware: forget the old hardware address first.
    // Whether that worked is not reported, as the user sees the page or not.
    platform_.Neighbours().DropEntry(address);
    const QString url = QString::fromStdString(
        WebAddress(record.SenderAddress, record.Value(param::WebPort).AsInteger(),
                   record.Value(param::ConfigFlags).AsInteger(), entry->WebScheme, page));
    // Without a browser the request would fail unseen: the address is shown instead, to be copied.
    if (!platform_.Browser().Open(QUrl(url, QUrl::StrictMode)))
        prompts_.ShowWarning(
            tr("No web browser could be started for the device's page. Its address:\n\n%1").arg(url));
}

} // namespace olg
