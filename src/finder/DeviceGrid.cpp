#include "DeviceGrid.h"

#include "ScanListing.h"
#include "TableText.h"

#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QSaveFile>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>

#include <algorithm>
#include <array>

namespace olg {

namespace {

constexpr std::array<int, DeviceTableModel::ColumnCount> StartColumnWidths{150, 160, 90, 100, 0};
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

DeviceGrid::DeviceGrid(const DeviceList& devices, Prompts& prompts, QWidget* window)
    : QObject(window), devices_(devices), prompts_(prompts), model_(new DeviceTableModel(devices, this)),
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
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    // A title click sorts; the classic order of first replies comes back on the third.
    columns->setSectionsClickable(true);
    connect(columns, &QHeaderView::sectionClicked, this, &DeviceGrid::SortClick);
    columns->setMinimumSectionSize(0);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A right click on the titles must neither open the popup nor reach the grid.
    columns->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int column = 0; column < DeviceTableModel::ColumnCount; ++column)
        columns->resizeSection(column, StartColumnWidth(column, grid_->fontMetrics()));

    // The filler column follows every change of the grid's width, of a column and of the scroll position.
    grid_->viewport()->installEventFilter(this);
    connect(columns, &QHeaderView::sectionResized, this, [this](int column) {
        if (column < DeviceTableModel::FillerColumn)
            FitLastColumn();
    });
    connect(grid_->horizontalScrollBar(), &QScrollBar::valueChanged, this, &DeviceGrid::FitLastColumn);

    connect(grid_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                // The grid row as if unsorted and unfiltered, so that it names the device's list index.
                if (current.isValid())
                    SelectCell(current.column(), std::max(sortFilter_->ListIndex(current.row()), 0) + 1);
            });
    grid_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
        if (!ContextPopup(position))
            emit PopupRequested(grid_->viewport()->mapToGlobal(position));
    });
    SelectFirstRow();
}

void DeviceGrid::CreateFilterBar(QWidget* window) {
    filterBar_ = new QWidget(window);
    auto* layout = new QHBoxLayout(filterBar_);
    const int margin = window->style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    filterEdit_ = new QLineEdit(filterBar_);
    filterEdit_->setObjectName(QStringLiteral("FilterEdit"));
    filterEdit_->setPlaceholderText(tr("Filter by name, type, IP or MAC address"));
    filterEdit_->setClearButtonEnabled(true);
    layout->addWidget(filterEdit_);
    connect(filterEdit_, &QLineEdit::textChanged, this, &DeviceGrid::FilterChange);
    // Enter goes on to the rows found.
    connect(filterEdit_, &QLineEdit::returnPressed, grid_, qOverload<>(&QWidget::setFocus));
    QWidget::setTabOrder(filterEdit_, grid_);
    // The grid keeps the focus the window starts with.
    grid_->setFocus();
    auto* find = new QShortcut(QKeySequence::Find, window);
    connect(find, &QShortcut::activated, this, [this] {
        filterEdit_->setFocus(Qt::ShortcutFocusReason);
        filterEdit_->selectAll();
    });
}

void DeviceGrid::SelectFirstRow() {
    // The empty row is current but not highlighted; the first device shown becomes the highlighted row.
    grid_->selectionModel()->setCurrentIndex(sortFilter_->index(0, 0), QItemSelectionModel::NoUpdate);
}

void DeviceGrid::Reset(const std::function<void()>& emptyList) {
    model_->Reset(emptyList);
    selectedDevice_ = 0;
    SelectFirstRow();
}

void DeviceGrid::ShowRow(int index) {
    model_->ShowRow(index);
    KeepSelectionShown();
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

void DeviceGrid::FitLastColumn() {
    if (fitting_)
        return;
    fitting_ = true;
    QHeaderView* columns = grid_->horizontalHeader();
    const int leftmost = std::max(0, columns->logicalIndexAt(0));
    int sum = 0;
    for (int column = leftmost; column < DeviceTableModel::FillerColumn; ++column)
        sum += columns->sectionSize(column);
    // The viewport already leaves out the frame and a vertical scroll bar.
    const int width = grid_->viewport()->width();
    columns->resizeSection(DeviceTableModel::FillerColumn, sum > width ? 0 : width - sum);
    fitting_ = false;
}

bool DeviceGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == grid_->viewport() && event->type() == QEvent::Resize)
        FitLastColumn();
    // Anywhere on the grid, below the rows too: the view's own signal knows double clicks on cells only.
    if (watched == grid_->viewport() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        emit DoubleClicked();
    return QObject::eventFilter(watched, event);
}

void DeviceGrid::SortClick(int column) {
    sortFilter_->CycleSort(column);
    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSortIndicatorShown(sortFilter_->sortColumn() >= 0);
    columns->setSortIndicator(sortFilter_->sortColumn(), sortFilter_->sortOrder());
    const QModelIndex current = grid_->currentIndex();
    if (current.isValid())
        grid_->scrollTo(current);
}

void DeviceGrid::FilterChange(const QString& text) {
    const int selected = selectedDevice_;
    sortFilter_->SetFilterText(text);
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

void DeviceGrid::ExportClick() {
    const QString fileName =
        prompts_.AskSaveFileName({tr("Export Device List"), QStringLiteral("devices.csv"),
                                  QStringLiteral("csv"), tr("CSV files (*.csv);;JSON files (*.json)"), true});
    if (fileName.isEmpty())
        return;
    const ScanListing listing(devices_);
    QList<QVariantList> rows;
    for (int row = 0; row < sortFilter_->rowCount(); ++row) {
        const int index = sortFilter_->ListIndex(row);
        if (index >= 0)
            rows.append(listing.Row(index));
    }
    const bool json = fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    const QByteArray text =
        (json ? TableText::Json(ScanListing::Columns(), rows) : TableText::Csv(ScanListing::Columns(), rows))
            .toUtf8();
    // Written whole or not at all: a failed export leaves an earlier file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        prompts_.ShowError(tr("Cannot write %1: %2").arg(fileName, file.errorString()));
}

} // namespace olg
