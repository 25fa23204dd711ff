// The main window's side of the live view: background scans that keep the list, the Last seen column and
// the removal of the devices that went offline.

#include "TFormMain.h"

#include "Datagram.h"

#include <QApplication>
#include <QHeaderView>

namespace olg {

namespace {
constexpr int CellTextMargin = 10;
} // namespace

void TFormMain::CreateLiveView() {
    liveView_ = new LiveView(*this, devices_, platform_.Settings(), actions_.FileMenu, actions_.N4);
    model_->SetLiveView(liveView_);
    liveView_->SetScanStarter([this] { return BackgroundScan(); });
    connect(liveView_, &LiveView::MarksChanged, model_, &DeviceTableModel::RefreshMarks);
    connect(liveView_, &LiveView::RowMarksChanged, model_, &DeviceTableModel::RefreshRow);
    connect(liveView_, &LiveView::LastSeenColumnToggled, this, &TFormMain::ShowLastSeenColumn);
    connect(liveView_, &LiveView::ForgetOfflineRequested, this, &TFormMain::ForgetOfflineDevices);
    ShowLastSeenColumn(liveView_->LastSeenShown());
}

bool TFormMain::BackgroundScan() {
    // Never two scans at once, and never under a dialog or an exchange: its replies are its own.
    if (Scanning() || !serveur_->BindError().isEmpty() || serveur_->Waiting() ||
        QApplication::activeModalWidget())
        return false;
    backgroundScan_ = true;
    liveView_->ScanStarted(false);
    tickCount_ = 0;
    timer_->setInterval(10);
    timer_->start();
    return true;
}

int TFormMain::ListedSource(const QByteArray& datagram) const {
    if (datagram.size() < static_cast<qsizetype>(HeaderSize))
        return -1;
    DeviceIdentity identity;
    std::copy_n(datagram.constData() + SourceOffset, identity.size(), identity.begin());
    return devices_.Find(identity);
}

std::string TFormMain::ShownText(const TOLG& record) {
    return record.Value(param::DeviceName).AsText() + '\0' + record.Value(param::ModelName).AsText() + '\0' +
           record.SenderAddress + '\0' + record.Interface + '\0' + record.TypeValue().AsText();
}

void TFormMain::ShowLastSeenColumn(bool shown) {
    model_->ShowLastSeen(shown);
    if (!shown)
        return;
    QHeaderView* columns = grid_->horizontalHeader();
    // Before the filler, which takes the rest of the width.
    columns->moveSection(columns->visualIndex(DeviceTableModel::LastSeenColumn),
                         columns->visualIndex(DeviceTableModel::FillerColumn));
    columns->resizeSection(DeviceTableModel::LastSeenColumn,
                           grid_->fontMetrics().horizontalAdvance(tr("59 min ago")) + 2 * CellTextMargin);
    FitLastColumn();
}

void TFormMain::ForgetOfflineDevices() {
    if (devices_.Empty())
        return;
    const DeviceIdentity selected = devices_.At(std::clamp(selectedDevice_, 0, devices_.Size() - 1)).Identity;
    model_->Rebuild(
        [this] { devices_.RemoveIf([this](const TOLG& record) { return liveView_->IsOffline(record); }); });
    liveView_->ForgetOffline();
    if (devices_.Empty()) {
        ResetGrid();
        return;
    }
    // The selected device stays selected; when it was forgotten, the first row shown takes its place.
    const int index = devices_.Find(selected);
    selectedDevice_ = std::max(index, 0);
    const int row = sortFilter_->ViewRow(selectedDevice_);
    const QModelIndex target = sortFilter_->index(std::max(row, 0), 0);
    if (target.isValid())
        grid_->selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect |
                                                             QItemSelectionModel::Rows);
    UpdateAdminActions();
}

} // namespace olg
