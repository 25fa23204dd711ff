#pragma once

#include <QTableView>

namespace olg {

// How the grid of devices looks and takes the mouse: whole rows selected one at a time, nothing edited in
// place, the titles left-aligned and clickable (a click sorts), the classic column widths widened where the
// platform's font needs it, and the last column taking the room left over.
void ApplyDeviceTableLook(QTableView& grid);

// A column's width when it first shows: the classic one, or room for the longest text of Last seen.
int StartColumnWidth(const QTableView& grid, int column);

} // namespace olg
