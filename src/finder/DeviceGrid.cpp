#include "DeviceGrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMouseEvent>

#include <algorithm>
#include <array>

namespace olg {

namespace {

constexpr std::array<int, DeviceTableModel::ColumnCount> StartColumnWidths{150, 160, 90, 100};
// Room for the text of a row; the classic 16 pixels clip the descenders of today's default fonts.
constexpr int MinRowHeight = 16;
constexpr int RowTextMargin = 4;
constexpr int CellTextMargin = 10;

// The classic widths, widened where the platform's font needs more room for the widest address texts.
int StartColumnWidth(int column, const QFontMetrics& metrics) {
    const int width = StartColumnWidths[static_cast<std::size_t>(column)];
    if (column == DeviceTableModel::AddressColumn)
        return std::max(width, metrics.horizontalAdvance(QStringLiteral("255.255.255.255")) + CellTextMargin);
    if (column == DeviceTableModel::MacColumn)
        return std::max(width,
                        metrics.horizontalAdvance(QStringLiteral("DD.DD.DD.DD.DD.DD")) + CellTextMargin);
    return width;
}

} // namespace

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
    grid_->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid_->setSelectionMode(QAbstractItemView::SingleSelection);
    grid_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid_->setTabKeyNavigation(false);
    grid_->setWordWrap(false);
    grid_->setShowGrid(true);
    grid_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = grid_->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(MinRowHeight, grid_->fontMetrics().height() + RowTextMargin));

    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    // A title click sorts; the classic order of first replies comes back on the third.
    columns->setSectionsClickable(true);
    connect(columns, &QHeaderView::sectionClicked, this, &DeviceGrid::SortClick);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A right click on the titles must neither open the popup nor reach the grid.
    columns->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int column = 0; column < DeviceTableModel::ColumnCount; ++column)
        columns->resizeSection(column, StartColumnWidth(column, grid_->fontMetrics()));
    // The last column takes the room left over, never less than its own width.
    columns->setStretchLastSection(true);
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
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
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
    const QModelIndexList rows = grid_->selectionModel()->selectedRows();
    return !devices_.Empty() && rows.size() == 1 &&
           sortFilter_->ListIndex(rows.front().row()) == selectedDevice_;
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
