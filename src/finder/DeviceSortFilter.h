#pragma once

#include "DeviceList.h"

#include <QSortFilterProxyModel>

namespace olg {

// The grid's rows as the user orders and filters them, over the device table in the order of first replies.
// A title click sorts by that column, a second reverses, a third returns to the order of first replies.
// Names and types sort as people read them (case aside, numbers by value), IP addresses and MACs by number;
// equal rows keep the order of first replies. The filter keeps the devices whose name, type, IP address or
// MAC address contains its text, case aside; a MAC matches with ".", ":" or "-" between its bytes.
class DeviceSortFilter : public QSortFilterProxyModel {
    Q_OBJECT

public:
    explicit DeviceSortFilter(const DeviceList& devices, QObject* parent = nullptr);

    // The next step of the title-click cycle for this column.
    void CycleSort(int column);
    void SetFilterText(const QString& text);
    const QString& FilterText() const { return filterText_; }

    // The list index of the device in this view row, or -1 for no device.
    int ListIndex(int viewRow) const;
    // The view row of this list index, or -1 while it is filtered out.
    int ViewRow(int listIndex) const;

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    const DeviceList& devices_;
    QString filterText_;
    QString macFilterText_;
};

} // namespace olg
