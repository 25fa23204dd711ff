#include "DeviceTableModel.h"

#include "AddressConflicts.h"
#include "DeviceText.h"
#include "MacAddress.h"
#include "ParamIds.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPalette>
#include <QTimer>

#include <algorithm>

namespace olg {

namespace {
// Where a device answers: its address and the interface it answers on.
std::string Place(const TOLG& record) {
    return record.SenderAddress + '\0' + record.Interface;
}

// A pale red that keeps the black text readable.
const QColor ConflictColour(255, 208, 200);
} // namespace

DeviceTableModel::DeviceTableModel(const DeviceList& devices, QObject* parent)
    : QAbstractTableModel(parent), devices_(devices) {}

int DeviceTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int DeviceTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount + (lastSeenShown_ ? 1 : 0);
}

QVariant DeviceTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::BackgroundRole:
        return ConflictsOf(index.row()).empty() ? QVariant() : QVariant(QBrush(ConflictColour));
    case Qt::FontRole: {
        if (!live_ || !live_->IsMarkedNew(index.row()))
            return {};
        QFont bold;
        bold.setBold(true);
        return bold;
    }
    case Qt::ForegroundRole:
        return live_ && live_->IsOffline(index.row())
                   ? QVariant(QGuiApplication::palette().brush(QPalette::Disabled, QPalette::Text))
                   : QVariant();
    case Qt::ToolTipRole: {
        QStringList tips{ConflictTip(index.row()), InterfaceToolTip(index.row()),
                         live_ ? live_->ToolTip(index.row()) : QString()};
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
    case LastSeenColumn:
        return live_ ? live_->LastSeenText(row) : QString();
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
    case LastSeenColumn:
        return tr("Last seen");
    default:
        return QString();
    }
}

std::vector<int> DeviceTableModel::ConflictsOf(int index) const {
    if (index < 0 || index >= static_cast<int>(conflicts_.size()))
        return {};
    return conflicts_[static_cast<std::size_t>(index)];
}

QString DeviceTableModel::ConflictTip(int row) const {
    const std::vector<int> others = ConflictsOf(row);
    if (others.empty() || row >= devices_.Size())
        return {};
    QStringList macs;
    for (int other : others) {
        if (other < devices_.Size())
            macs.append(QString::fromStdString(FormatMac(".", devices_.At(other).Mac)));
    }
    return tr("IP address %1 is also used by %2")
        .arg(QString::fromStdString(devices_.At(row).SenderAddress), macs.join(QStringLiteral(", ")));
}

void DeviceTableModel::CheckConflicts() {
    conflictCheckQueued_ = false;
    const AddressConflicts found = FindAddressConflicts(devices_);
    const auto shown = static_cast<std::size_t>(std::min(rows_, devices_.Size()));
    std::vector<std::vector<int>> conflicts(shown);
    addresses_.resize(shown);
    for (std::size_t row = 0; row < shown; ++row) {
        conflicts[row] = found.Others(static_cast<int>(row));
        addresses_[row] = Place(devices_.At(static_cast<int>(row)));
    }
    std::swap(conflicts, conflicts_);
    for (int row = 0; row < static_cast<int>(conflicts_.size()); ++row) {
        const bool changed =
            row >= static_cast<int>(conflicts.size()) ||
            conflicts[static_cast<std::size_t>(row)] != conflicts_[static_cast<std::size_t>(row)];
        if (changed)
            emit dataChanged(index(row, 0), index(row, ColumnCount - 1),
                             {Qt::BackgroundRole, Qt::ToolTipRole});
    }
}

void DeviceTableModel::Reset(const std::function<void()>& emptyList) {
    beginResetModel();
    emptyList();
    rows_ = 1;
    conflicts_.clear();
    addresses_.clear();
    endResetModel();
}

void DeviceTableModel::ShowLastSeen(bool shown) {
    if (shown == lastSeenShown_)
        return;
    if (shown)
        beginInsertColumns({}, LastSeenColumn, LastSeenColumn);
    else
        beginRemoveColumns({}, LastSeenColumn, LastSeenColumn);
    lastSeenShown_ = shown;
    shown ? endInsertColumns() : endRemoveColumns();
}

void DeviceTableModel::RefreshMarks() {
    emit dataChanged(index(0, 0), index(rows_ - 1, columnCount() - 1),
                     {Qt::DisplayRole, Qt::FontRole, Qt::ForegroundRole, Qt::ToolTipRole});
}

void DeviceTableModel::RefreshRow(int row) {
    if (row >= 0 && row < rows_)
        emit dataChanged(index(row, 0), index(row, columnCount() - 1), {Qt::FontRole, Qt::ToolTipRole});
}

void DeviceTableModel::Rebuild(const std::function<void()>& removeRecords) {
    beginResetModel();
    removeRecords();
    rows_ = std::max(1, devices_.Size());
    conflicts_.clear();
    addresses_.clear();
    endResetModel();
    if (!conflictCheckQueued_) {
        conflictCheckQueued_ = true;
        QTimer::singleShot(0, this, &DeviceTableModel::CheckConflicts);
    }
}

void DeviceTableModel::ShowRow(int index) {
    if (index < 0 || index >= devices_.Size())
        return;
    // A new device or one that moved to another address may change the marks: they are checked once the
    // replies waiting now are merged.
    const std::string& address = devices_.At(index).SenderAddress;
    const bool moved = index >= static_cast<int>(addresses_.size()) ||
                       addresses_[static_cast<std::size_t>(index)] != address;
    if (moved && !conflictCheckQueued_) {
        conflictCheckQueued_ = true;
        QTimer::singleShot(0, this, &DeviceTableModel::CheckConflicts);
    }
    if (index >= rows_) {
        beginInsertRows({}, rows_, index);
        rows_ = index + 1;
        endInsertRows();
        return;
    }
    emit dataChanged(this->index(index, 0), this->index(index, ColumnCount - 1), {Qt::DisplayRole});
}

} // namespace olg
