#include "DeviceTableLook.h"

#include "DeviceTableModel.h"

#include <QFontMetrics>
#include <QHeaderView>

#include <algorithm>
#include <array>

namespace olg {

namespace {

constexpr std::array<int, DeviceTableModel::ColumnCount> StartColumnWidths{150, 160, 90, 100};
// Room for the text of a row; the classic 16 pixels clip the descenders of today's default fonts.
constexpr int MinRowHeight = 16;
constexpr int RowTextMargin = 4;
constexpr int CellTextMargin = 10;

} // namespace

// The classic widths, widened where the platform's font needs more room for the widest address texts.
int StartColumnWidth(const QTableView& grid, int column) {
    const QFontMetrics metrics = grid.fontMetrics();
    if (column == DeviceTableModel::LastSeenColumn)
        return metrics.horizontalAdvance(QTableView::tr("59 min ago")) + 2 * CellTextMargin;
    const int width = StartColumnWidths[static_cast<std::size_t>(column)];
    if (column == DeviceTableModel::AddressColumn)
        return std::max(width, metrics.horizontalAdvance(QStringLiteral("255.255.255.255")) + CellTextMargin);
    if (column == DeviceTableModel::MacColumn)
        return std::max(width,
                        metrics.horizontalAdvance(QStringLiteral("DD.DD.DD.DD.DD.DD")) + CellTextMargin);
    return width;
}

void ApplyDeviceTableLook(QTableView& grid) {
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    // Ctrl and Shift select several devices for the actions on all of them.
    grid.setSelectionMode(QAbstractItemView::ExtendedSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setTabKeyNavigation(false);
    grid.setWordWrap(false);
    grid.setShowGrid(true);
    grid.setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);

    QHeaderView* rows = grid.verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(std::max(MinRowHeight, grid.fontMetrics().height() + RowTextMargin));

    QHeaderView* columns = grid.horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    columns->setSectionsClickable(true);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    // A right click on the titles must neither open the popup nor reach the grid.
    columns->setContextMenuPolicy(Qt::PreventContextMenu);
    for (int column = 0; column < DeviceTableModel::ColumnCount; ++column)
        columns->resizeSection(column, StartColumnWidth(grid, column));
    // The last column takes the room left over, never less than its own width.
    columns->setStretchLastSection(true);
    grid.setContextMenuPolicy(Qt::CustomContextMenu);
}

} // namespace olg
