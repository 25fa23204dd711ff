#pragma once

#include "DeviceList.h"
#include "DeviceSortFilter.h"
#include "DeviceTableModel.h"
#include "Prompts.h"

#include <QLineEdit>
#include <QList>
#include <QObject>
#include <QTableView>

namespace olg {

// The grid of the devices found, as the user arranges it: the filter field above it, sorting by a title
// click, the filler column, the selected device, and the export of the devices shown. Rows count the title
// row, so grid row r shows list index r - 1, whatever the order and filter shown.
class DeviceGrid : public QObject {
    Q_OBJECT

public:
    DeviceGrid(const DeviceList& devices, Prompts& prompts, QWidget* window);

    QTableView* Grid() const { return grid_; }
    QWidget* FilterBar() const { return filterBar_; }
    int SelectedDevice() const { return selectedDevice_; }

    // Runs the change that empties the list, and goes back to the one empty row, selected.
    void Reset(const std::function<void()>& emptyList);
    // Writes the row of the device at this list index, adding it when it is new.
    void ShowRow(int index);
    void SelectCell(int column, int row);
    // True when the event is handled so that no popup opens: on no device row, or with nothing listed.
    // Otherwise the row under the mouse becomes the selected one first.
    bool ContextPopup(const QPoint& viewportPosition);
    void SortClick(int column);
    void FilterChange(const QString& text);
    // Sizes the filler column so that the columns span the grid without a scroll bar.
    void FitLastColumn();
    // Writes the devices shown, in the order shown, into a CSV or JSON file the user names.
    void ExportClick();

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
    // Highlights the selected device's row, or the first row shown when the filter hides it.
    void KeepSelectionShown();

    const DeviceList& devices_;
    Prompts& prompts_;
    DeviceTableModel* model_;
    DeviceSortFilter* sortFilter_;
    QTableView* grid_ = nullptr;
    QWidget* filterBar_ = nullptr;
    QLineEdit* filterEdit_ = nullptr;
    int selectedDevice_ = 0;
    bool fitting_ = false;
};

} // namespace olg
