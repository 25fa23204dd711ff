#pragma once

#include "AddressGroups.h"
#include "DeviceList.h"

#include <QAbstractTableModel>

#include <cstdint>
#include <functional>
#include <vector>

namespace olg {

// The grid's view of the device list: name, type, IP address, MAC address and an empty filler column.
// It shows one empty row while nothing is listed, and only the rows the main window has shown, so that the
// list may hold a merged record before its row is written. A reply changes one row, never the whole grid,
// so a reply costs the same however many devices are listed.
// Devices that answer from the same IP address are marked: their rows take a warning colour and a tooltip
// names a few of the other devices' MACs. The marks follow each reply at a cost that does not grow with
// the list, so a flood from one address of ever new devices never stalls the window.
class DeviceTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { NameColumn, TypeColumn, AddressColumn, MacColumn, FillerColumn, ColumnCount };

    explicit DeviceTableModel(const DeviceList& devices, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Runs the change that empties the list and goes back to the one empty row.
    void Reset(const std::function<void()>& emptyList);
    // Writes the row of the device at this list index, adding it when it is new.
    void ShowRow(int index);
    // The list indexes of the other devices on this device's address, the first `most` of them; empty when
    // it is alone there.
    std::vector<int> ConflictsOf(int index, std::size_t most = SIZE_MAX) const;

private:
    QString CellText(int row, int column) const;
    QString ConflictTip(int row) const;
    QString InterfaceToolTip(int row) const;

    const DeviceList& devices_;
    int rows_ = 1;
    // Where each shown row answers.
    AddressGroups places_;
};

} // namespace olg
