#include "DeviceSortFilter.h"

#include "DeviceTableModel.h"
#include "IpText.h"

namespace olg {

namespace {

// The length of the run of digits, or of other characters, that starts at position.
qsizetype RunLength(const QString& text, qsizetype position) {
    const bool digits = text[position].isDigit();
    qsizetype end = position;
    while (end < text.size() && text[end].isDigit() == digits)
        ++end;
    return end - position;
}

QStringView WithoutLeadingZeros(QStringView digits) {
    qsizetype first = 0;
    while (first + 1 < digits.size() && digits[first] == u'0')
        ++first;
    return digits.mid(first);
}

// Texts as people read them, the same in every locale: runs of digits by value ("PDU-9" before "PDU-10"),
// everything else letter by letter, case aside.
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const qsizetype runA = RunLength(a, i);
        const qsizetype runB = RunLength(b, j);
        int order = 0;
        if (a[i].isDigit() && b[j].isDigit()) {
            const QStringView x = WithoutLeadingZeros(QStringView(a).mid(i, runA));
            const QStringView y = WithoutLeadingZeros(QStringView(b).mid(j, runB));
            // Of two numbers, the one with more digits is the larger.
            order = x.size() != y.size() ? (x.size() < y.size() ? -1 : 1) : x.compare(y);
        } else {
            order = QStringView(a).mid(i, runA).compare(QStringView(b).mid(j, runB), Qt::CaseInsensitive);
        }
        if (order != 0)
            return order;
        i += runA;
        j += runB;
    }
    return (a.size() - i > 0) - (b.size() - j > 0);
}

} // namespace

DeviceSortFilter::DeviceSortFilter(const DeviceList& devices, QObject* parent)
    : QSortFilterProxyModel(parent), devices_(devices) {
    // Unsorted until the first title click: the order of first replies.
    sort(-1);
}

void DeviceSortFilter::CycleSort(int column) {
    if (column < 0 || column >= DeviceTableModel::ColumnCount)
        return;
    if (column != sortColumn())
        sort(column, Qt::AscendingOrder);
    else if (sortOrder() == Qt::AscendingOrder)
        sort(column, Qt::DescendingOrder);
    else
        sort(-1);
}

void DeviceSortFilter::SetFilterText(const QString& text) {
    const QString trimmed = text.trimmed();
    if (trimmed == filterText_)
        return;
    filterText_ = trimmed;
    macFilterText_ = trimmed;
    macFilterText_.replace(QLatin1Char(':'), QLatin1Char('.')).replace(QLatin1Char('-'), QLatin1Char('.'));
    invalidateRowsFilter();
}

int DeviceSortFilter::ListIndex(int viewRow) const {
    const int row = mapToSource(index(viewRow, 0)).row();
    return row >= 0 && row < devices_.Size() ? row : -1;
}

int DeviceSortFilter::ViewRow(int listIndex) const {
    if (!sourceModel())
        return -1;
    return mapFromSource(sourceModel()->index(listIndex, 0)).row();
}

bool DeviceSortFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const int a = left.row();
    const int b = right.row();
    // The one empty row shown while nothing is listed has nothing to compare.
    if (a >= devices_.Size() || b >= devices_.Size())
        return a < b;
    const TOLG& first = devices_.At(a);
    const TOLG& second = devices_.At(b);
    switch (left.column()) {
    case DeviceTableModel::AddressColumn:
        return TextToIp(first.SenderAddress) < TextToIp(second.SenderAddress);
    case DeviceTableModel::MacColumn:
        return first.Mac < second.Mac;
    default:
        return NaturalCompare(left.data().toString(), right.data().toString()) < 0;
    }
}

bool DeviceSortFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    if (filterText_.isEmpty())
        return true;
    if (sourceRow >= devices_.Size())
        return false;
    const QAbstractItemModel* model = sourceModel();
    const auto contains = [&](int column, const QString& text) {
        return model->index(sourceRow, column, sourceParent)
            .data()
            .toString()
            .contains(text, Qt::CaseInsensitive);
    };
    return contains(DeviceTableModel::NameColumn, filterText_) ||
           contains(DeviceTableModel::TypeColumn, filterText_) ||
           contains(DeviceTableModel::AddressColumn, filterText_) ||
           contains(DeviceTableModel::MacColumn, macFilterText_);
}

} // namespace olg
