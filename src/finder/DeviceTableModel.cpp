#include "DeviceTableModel.h"

#include "DeviceText.h"
#include "MacAddress.h"
#include "ParamIds.h"
#include "ScanListing.h"

#include <QBrush>
#include <QColor>

namespace olg {

namespace {
// A pale red that keeps the black text readable.
const QColor ConflictColour(255, 208, 200);
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
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::BackgroundRole:
        return ConflictsOf(index.row(), 1).empty() ? QVariant() : QVariant(QBrush(ConflictColour));
    case Qt::ToolTipRole: {
        QStringList tips{ConflictTip(index.row()), InterfaceToolTip(index.row())};
        tips.removeAll(QString());
        return tips.isEmpty() ? QVariant() : QVariant(tips.join(QLatin1Char('\n')));
    }
    default:
        return {};
    }
}

QString DeviceTableModel::InterfaceToolTip(int row) const {
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
        return DeviceText::Decode(record.Value(param::DeviceName).AsText());
    case TypeColumn:
        return DeviceText::Decode(record.Value(param::ModelName).AsText());
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

std::vector<int> DeviceTableModel::ConflictsOf(int index, std::size_t most) const {
    return index < rows_ ? places_.Others(index, most) : std::vector<int>();
}

QString DeviceTableModel::ConflictTip(int row) const {
    // A few MACs and a count: a device may share its address with thousands.
    const std::vector<int> others = ConflictsOf(row, ScanListing::NamedMacs);
    if (others.empty() || row >= devices_.Size())
        return {};
    QStringList macs;
    for (int other : others) {
        if (other < devices_.Size())
            macs.append(QString::fromStdString(FormatMac(".", devices_.At(other).Mac)));
    }
    QString named = macs.join(QStringLiteral(", "));
    const std::size_t more = places_.OtherCount(row) - others.size();
    if (more > 0)
        named = tr("%1 and %2 more").arg(named).arg(more);
    return tr("IP address %1 is also used by %2")
        .arg(QString::fromStdString(devices_.At(row).SenderAddress), named);
}

void DeviceTableModel::Reset(const std::function<void()>& emptyList) {
    beginResetModel();
    emptyList();
    rows_ = 1;
    places_.Clear();
    endResetModel();
}

void DeviceTableModel::ShowRow(int index) {
    if (index < 0 || index >= devices_.Size())
        return;
    // A new device, or one that moved, may begin or end a conflict of rows shown before.
    std::vector<int> marked;
    for (int row = std::min(index, rows_); row <= index; ++row) {
        const TOLG& record = devices_.At(row);
        for (int changed : places_.Move(row, record.SenderAddress, record.Interface)) {
            if (changed != index && changed < rows_)
                marked.push_back(changed);
        }
    }
    for (int row : marked)
        emit dataChanged(this->index(row, 0), this->index(row, ColumnCount - 1),
                         {Qt::BackgroundRole, Qt::ToolTipRole});
    if (index >= rows_) {
        beginInsertRows({}, rows_, index);
        rows_ = index + 1;
        endInsertRows();
        return;
    }
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1),
                     {Qt::DisplayRole, Qt::BackgroundRole, Qt::ToolTipRole});
}

} // namespace olg
