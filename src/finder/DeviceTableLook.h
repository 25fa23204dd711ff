#pragma once

#include <QTableView>

namespace olg {

// How the grid of devices looks and takes the mouse: whole rows selected one at a time, nothing edited in
// place, the titles left-aligned and clickable (a click sorts), the classic column widths widened where the
// platform's font needs it, and the last column taking the room left over.
void ApplyDeviceTableLook(QTableView& grid);

// The width of the Last seen column of the live view: room for its longest text.
int LastSeenColumnWidth(const QTableView& grid);

} // namespace olg
