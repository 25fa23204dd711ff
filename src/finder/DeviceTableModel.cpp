#include "DeviceTableModel.h"

#include "DeviceText.h"
#include "MacAddress.h"

namespace olg {

namespace {
constexpr int ModelNameParam = 5;
constexpr int DeviceNameParam = 7;
} // namespace

DeviceTableModel::DeviceTableModel(const DeviceList& devices, QObject* parent)
    : QAbstractTableModel(parent), devices_(devices) {}

int DeviceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DeviceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DeviceTableModel::data(const QModelIndex& index, int role) const {
    if (role == Qt::ToolTipRole && index.isValid())
        return InterfaceToolTip(index.row());
    if (role != Qt::DisplayRole || !index.isValid())
        return {};
    return CellText(index.row(), index.column());
}

QVariant DeviceTableModel::InterfaceToolTip(int row) const {
    // On a host on several networks, where the device is; the grid's columns stay those of every Finder.
    if (row >= devices_.Size() || devices_.At(row).Interface.empty())
        return {};
    return tr("Answers on network interface %1").arg(QString::fromStdString(devices_.At(row).Interface));
}

QString DeviceTableModel::CellText(int row, int column) const {
    if (row >= devices_.Size())
        return {};
    const TOLG& record = devices_.At(row);
    switch (column) {
    case NameColumn:
        return DeviceText::Decode(record.Value(DeviceNameParam).AsText());
    case TypeColumn:
        return DeviceText::Decode(record.Value(ModelNameParam).AsText());
    case AddressColumn:
        return QString::fromStdString(record.SenderAddress);
    case MacColumn:
        return QString::fromStdString(FormatMac(".", record.Mac));
    default:
        return {};
    }
}

QVariant DeviceTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NameColumn:
        return tr("Name");
    case TypeColumn:
        return tr("Type");
    case AddressColumn:
        return tr("IP Address");
    case MacColumn:
        return tr("MAC Address");
    default:
        return QString();
    }
}

void DeviceTableModel::Reset(const std::function<void()>& emptyList) {
    beginResetModel();
    emptyList();
    rows_ = 1;
    endResetModel();
}

void DeviceTableModel::ShowRow(int index) {
    if (index < 0)
        return;
    if (index >= rows_) {
        beginInsertRows({}, rows_, index);
        rows_ = index + 1;
        endInsertRows();
        return;
    }
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1), {Qt::DisplayRole});
}

} // namespace olg
