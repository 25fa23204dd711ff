#include "DeviceGrid.h"

#include "DeviceTableLook.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>

namespace olg {

DeviceGrid::DeviceGrid(const DeviceList& devices, QWidget* window)
    : QObject(window), devices_(devices), model_(new DeviceTableModel(devices, this)),
      sortFilter_(new DeviceSortFilter(devices, this)) {
    CreateGrid(window);
    CreateFilterBar(window);
}

void DeviceGrid::CreateGrid(QWidget* window) {
    grid_ = new QTableView(window);
    grid_->setObjectName(QStringLiteral("StringGrid"));
    sortFilter_->setSourceModel(model_);
    grid_->setModel(sortFilter_);
    ApplyDeviceTableLook(*grid_);
    // A title click sorts; the classic order of first replies comes back on the third.
    connect(grid_->horizontalHeader(), &QHeaderView::sectionClicked, this, &DeviceGrid::SortClick);
    grid_->viewport()->installEventFilter(this);

    QItemSelectionModel* selection = grid_->selectionModel();
    connect(selection, &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        // A row the user picks ends the wait for the device selected before the scan.
        if (!highlighting_)
            wanted_.reset();
        // The grid row as if unsorted and unfiltered, so that it names the device's list index.
        if (current.isValid())
            SelectCell(current.column(), std::max(sortFilter_->ListIndex(current.row()), 0) + 1);
    });
    // A row unselected with Ctrl+click withdraws the actions on it.
    connect(selection, &QItemSelectionModel::selectionChanged, this, &DeviceGrid::SelectionChanged);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (!ContextPopup(position))
            emit PopupRequested(grid_->viewport()->mapToGlobal(position));
    });
    SelectFirstRow();
}

void DeviceGrid::CreateFilterBar(QWidget* window) {
    filterBar_ = new DeviceFilterBar(window, grid_);
    connect(filterBar_->Edit(), &QLineEdit::textChanged, this, &DeviceGrid::FilterChange);
    connect(sortFilter_, &QAbstractItemModel::rowsInserted, this, &DeviceGrid::UpdateFilterNote);
    connect(sortFilter_, &QAbstractItemModel::rowsRemoved, this, &DeviceGrid::UpdateFilterNote);
    connect(sortFilter_, &QAbstractItemModel::modelReset, this, &DeviceGrid::UpdateFilterNote);
}

void DeviceGrid::UpdateFilterNote() {
    filterBar_->ShowCount(static_cast<int>(ShownDevices().size()), devices_.Empty() ? 0 : model_->rowCount());
}

bool DeviceGrid::SelectionShown() const {
    const int row = devices_.Empty() ? -1 : sortFilter_->ViewRow(selectedDevice_);
    return row >= 0 && grid_->selectionModel()->isRowSelected(row);
}

QList<int> DeviceGrid::SelectedDevices() const {
    QList<int> rows;
    if (devices_.Empty())
        return rows;
    for (const QModelIndex& row : grid_->selectionModel()->selectedRows())
        rows.append(row.row());
    std::sort(rows.begin(), rows.end());
    QList<int> selected;
    for (int row : rows)
        if (const int index = sortFilter_->ListIndex(row); index >= 0)
            selected.append(index);
    return selected;
}

void DeviceGrid::SelectFirstRow() {
    // The empty row is current but not highlighted; the first device shown becomes the highlighted row.
    grid_->selectionModel()->setCurrentIndex(sortFilter_->index(0, 0), QItemSelectionModel::NoUpdate);
}

void DeviceGrid::Highlight(const QModelIndex& row) {
    highlighting_ = true;
    if (row.isValid()) {
        grid_->selectionModel()->setCurrentIndex(row, QItemSelectionModel::ClearAndSelect |
                                                          QItemSelectionModel::Rows);
        grid_->scrollTo(row);
    } else {
        grid_->selectionModel()->clearSelection();
    }
    highlighting_ = false;
}

void DeviceGrid::Reset(const std::function<void()>& emptyList) {
    if (selectedDevice_ >= 0 && selectedDevice_ < devices_.Size())
        wanted_ = devices_.At(selectedDevice_).Identity;
    highlighting_ = true;
    model_->Reset(emptyList);
    selectedDevice_ = 0;
    SelectFirstRow();
    highlighting_ = false;
    grid_->scrollToTop();
}

void DeviceGrid::ShowRow(int index) {
    model_->ShowRow(index);
    if (wanted_ && index >= 0 && index < devices_.Size() && devices_.At(index).Identity == *wanted_) {
        wanted_.reset();
        const int row = sortFilter_->ViewRow(index);
        selectedDevice_ = index;
        Highlight(row < 0 ? QModelIndex() : sortFilter_->index(row, 0));
        emit SelectionChanged();
        return;
    }
    // Until the device selected before the scan answers, nothing is chosen for the user.
    if (!wanted_)
        KeepSelectionShown();
}

void DeviceGrid::ScanFinished() {
    if (!wanted_)
        return;
    wanted_.reset();
    if (!devices_.Empty())
        Highlight(sortFilter_->index(0, 0));
    grid_->scrollToTop();
}

void DeviceGrid::SelectCell(int /*column*/, int row) {
    selectedDevice_ = row - 1;
    emit SelectionChanged();
}

bool DeviceGrid::ContextPopup(const QPoint& viewportPosition) {
    const QModelIndex cell = grid_->indexAt(viewportPosition);
    const int row = cell.isValid() ? cell.row() + 1 : 0;
    if (row <= 0 || devices_.Empty())
        return true;
    grid_->setCurrentIndex(cell);
    return false;
}

bool DeviceGrid::eventFilter(QObject* watched, QEvent* event) {
    // Anywhere on the grid, below the rows too: the view's own signal knows double clicks on cells only.
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit DoubleClicked();
    return QObject::eventFilter(watched, event);
}

void DeviceGrid::SortClick(int column) {
    sortFilter_->CycleSort(column);
    ShowSortIndicator();
    const QModelIndex current = grid_->currentIndex();
    if (current.isValid())
        grid_->scrollTo(current);
}

void DeviceGrid::ShowSortIndicator() {
    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSortIndicatorShown(sortFilter_->sortColumn() >= 0);
    columns->setSortIndicator(sortFilter_->sortColumn(), sortFilter_->sortOrder());
}

void DeviceGrid::FilterChange(const QString& text) {
    const int selected = selectedDevice_;
    sortFilter_->SetFilterText(text);
    UpdateFilterNote();
    if (devices_.Empty())
        return;
    // The selected device keeps its selection while it is shown; when the filter hides it, the first device
    // shown takes its place, and when the filter hides every device, the selection stays with it.
    const int row = sortFilter_->ViewRow(selected);
    const QModelIndex target = sortFilter_->index(row < 0 ? 0 : row, 0);
    if (!target.isValid()) {
        SelectCell(0, selected + 1);
        return;
    }
    // Of several highlighted rows, those the filter still shows stay highlighted.
    if (row >= 0 && grid_->selectionModel()->isRowSelected(row)) {
        grid_->scrollTo(target);
        return;
    }
    grid_->selectionModel()->setCurrentIndex(target,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(target);
}

void DeviceGrid::KeepSelectionShown() {
    QItemSelectionModel* selection = grid_->selectionModel();
    if (devices_.Empty() || selection->hasSelection())
        return;
    const int row = sortFilter_->ViewRow(selectedDevice_);
    const QModelIndex target = sortFilter_->index(row < 0 ? 0 : row, 0);
    if (target.isValid())
        selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

QList<int> DeviceGrid::ShownDevices() const {
    QList<int> shown;
    for (int row = 0; row < sortFilter_->rowCount(); ++row) {
        const int index = sortFilter_->ListIndex(row);
        if (index >= 0)
            shown.append(index);
    }
    return shown;
}

void DeviceGrid::SetLiveView(const LiveView& live) {
    model_->SetLiveView(&live);
    connect(&live, &LiveView::MarksChanged, model_, &DeviceTableModel::RefreshMarks);
    connect(&live, &LiveView::RowMarksChanged, model_, &DeviceTableModel::RefreshRow);
    connect(&live, &LiveView::LastSeenColumnToggled, this, &DeviceGrid::ShowLastSeen);
    ShowLastSeen(live.LastSeenShown());
}

void DeviceGrid::ShowLastSeen(bool shown) {
    model_->ShowLastSeen(shown);
    if (!shown)
        return;
    // The MAC column, last no more, gives back the room it took, and Last seen takes it.
    for (int column : {int(DeviceTableModel::MacColumn), DeviceTableModel::LastSeenColumn})
        grid_->horizontalHeader()->resizeSection(column, StartColumnWidth(*grid_, column));
}

void DeviceGrid::Rebuild(const std::function<void()>& removeRecords,
                         const std::function<int()>& selectAfter) {
    model_->Rebuild(removeRecords);
    if (devices_.Empty())
        return;
    const int index = selectAfter();
    const int row = index < 0 ? -1 : sortFilter_->ViewRow(index);
    if (index >= 0)
        selectedDevice_ = index;
    Highlight(sortFilter_->index(std::max(row, 0), 0));
    emit SelectionChanged();
}

QByteArray DeviceGrid::SaveState() const {
    return grid_->horizontalHeader()->saveState();
}

void DeviceGrid::RestoreState(const QByteArray& state) {
    QHeaderView* columns = grid_->horizontalHeader();
    if (state.isEmpty() || !columns->restoreState(state))
        return;
    if (columns->isSortIndicatorShown() && columns->sortIndicatorSection() < DeviceTableModel::ColumnCount)
        sortFilter_->sort(columns->sortIndicatorSection(), columns->sortIndicatorOrder());
    ShowSortIndicator();
}

} // namespace olg
