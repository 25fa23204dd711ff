#pragma once

#include "DeviceFilterBar.h"
#include "DeviceList.h"
#include "DeviceSortFilter.h"
#include "DeviceTableModel.h"
#include "LiveView.h"

#include <QList>
#include <QObject>
#include <QTableView>

#include <optional>

namespace olg {

// The grid of the devices found, as the user arranges it: the filter field above it, sorting by a title
// click, several rows highlighted with Ctrl or Shift, and the selected device (the current row), which stays
// the same device through sorting, filtering and the next scan. Rows count the title row, so grid row r shows
// list index r - 1, whatever the order and filter shown.
class DeviceGrid : public QObject {
    Q_OBJECT

public:
    DeviceGrid(const DeviceList& devices, QWidget* window);

    QTableView* Grid() const { return grid_; }
    DeviceFilterBar* FilterBar() const { return filterBar_; }
    int SelectedDevice() const { return selectedDevice_; }
    // Whether the selected device's row is shown and highlighted: only then do actions act on it. Among
    // several highlighted rows, the selected device is the current one.
    bool SelectionShown() const;
    // The list indexes of the devices on highlighted rows, in the order shown.
    QList<int> SelectedDevices() const;

    // Runs the change that empties the list, and goes back to the one empty row. The device selected until
    // then is selected again when it answers.
    void Reset(const std::function<void()>& emptyList);
    // Writes the row of the device at this list index, adding it when it is new.
    void ShowRow(int index);
    // The scan is over: a device selected before it that did not answer gives way to the first row.
    void ScanFinished();
    void SelectCell(int column, int row);
    // True when the event is handled so that no popup opens: on no device row, or with nothing listed.
    // Otherwise the row under the mouse becomes the selected one first.
    bool ContextPopup(const QPoint& viewportPosition);
    void SortClick(int column);
    void FilterChange(const QString& text);
    // The list indexes of the devices shown, in the order shown.
    QList<int> ShownDevices() const;
    // The live view's marks on the rows, and its Last seen column.
    void SetLiveView(const LiveView& live);
    void ShowLastSeen(bool shown);
    // Runs a change that removes records from the list, then selects the device at this list index, or the
    // first row shown when the index is gone.
    void Rebuild(const std::function<void()>& removeRecords, const std::function<int()>& selectAfter);
    // The column widths and the sort order, kept from one run to the next.
    QByteArray SaveState() const;
    void RestoreState(const QByteArray& state);

signals:
    void SelectionChanged();
    void DoubleClicked();
    void PopupRequested(const QPoint& globalPosition);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateGrid(QWidget* window);
    void CreateFilterBar(QWidget* window);
    void SelectFirstRow();
    // Highlights this view row, or nothing for an invalid one, without taking it for the user's choice.
    void Highlight(const QModelIndex& row);
    // Highlights the selected device's row, or the first row shown when the filter hides it.
    void KeepSelectionShown();
    void ShowSortIndicator();
    void UpdateFilterNote();

    const DeviceList& devices_;
    DeviceTableModel* model_;
    DeviceSortFilter* sortFilter_;
    QTableView* grid_ = nullptr;
    DeviceFilterBar* filterBar_ = nullptr;
    int selectedDevice_ = 0;
    // The device selected before a scan, until it answers, the user picks another or the scan ends.
    std::optional<DeviceIdentity> wanted_;
    bool highlighting_ = false;
};

} // namespace olg
