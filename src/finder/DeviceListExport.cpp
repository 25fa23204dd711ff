#include "DeviceListExport.h"

#include "ScanListing.h"
#include "TableText.h"

#include <QSaveFile>

namespace olg {

DeviceListExport::DeviceListExport(const DeviceList& devices, Prompts& prompts, QObject* parent)
    : QObject(parent), devices_(devices), prompts_(prompts) {}

QString DeviceListExport::Run(const QList<int>& shown) {
    const QString fileName =
        prompts_.AskSaveFileName({tr("Export Device List"), QStringLiteral("devices.csv"),
                                  QStringLiteral("csv"), tr("CSV files (*.csv);;JSON files (*.json)"), true});
    if (fileName.isEmpty())
        return {};
    const ScanListing listing(devices_);
    QList<QVariantList> rows;
    for (int index : shown)
        rows.append(listing.Row(index));
    const bool json = fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    const QByteArray text =
        (json ? TableText::Json(ScanListing::Columns(), rows) : TableText::Csv(ScanListing::Columns(), rows))
            .toUtf8();
    // Written whole or not at all: a failed export leaves an earlier file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        prompts_.ShowError(tr("Cannot write %1: %2").arg(fileName, file.errorString()));
        return {};
    }
    return rows.size() == 1 ? tr("1 device exported to %1").arg(fileName)
                            : tr("%1 devices exported to %2").arg(rows.size()).arg(fileName);
}

} // namespace olg
