#include "Plan.h"

#include "MacAddress.h"
#include "ParamDescriptor.h"
#include "ParamIds.h"
#include "ParamNames.h"
#include "ParamText.h"

#include <QHash>

#include <algorithm>
#include <vector>

namespace olg::cli {

namespace {

ParamValue TypeOf(const TConfigDevice& entry) {
    return ParamValue::Integer(static_cast<std::int32_t>(entry.TypeCode));
}

// The parameter a column names on every model, where it is writable with one kind on each that has it: such
// values are checked before any scan.
std::optional<std::pair<int, std::uint8_t>> SharedParameter(const DeviceRegistry& registry,
                                                            const QString& column) {
    const std::optional<int> id = ParamNames::ForModel({}).IdOf(column.toStdString());
    if (!id)
        return std::nullopt;
    std::optional<std::uint8_t> kind;
    for (int type = 0; type < registry.Count(); ++type) {
        const ParamValue value = TypeOf(registry.Entry(type));
        if (!registry.HasParam(*id, value))
            continue;
        const std::uint8_t own = registry.ParamKind(*id, value);
        if (registry.ParamAccess(*id, value) == AccessRead || (kind && *kind != own))
            return std::nullopt;
        kind = own;
    }
    if (!kind)
        return std::nullopt;
    return std::pair{*id, *kind};
}

} // namespace

QString Plan::At(const QString& where, int column) const {
    return QStringLiteral("%1: column \"%2\"").arg(where, columns_.at(column));
}

std::optional<ParamValue> Plan::Value(const Entry& entry, int column, std::uint8_t kind,
                                      QStringList* problems) const {
    // Blanks around an address or a number are the spreadsheet's; a text keeps them.
    const QString& cell = entry.Cells.at(column);
    QString error;
    std::optional<ParamValue> value = ParseParamValue(kind, kind == KindText ? cell : cell.trimmed(), &error);
    if (!value)
        problems->append(QStringLiteral("%1: %2").arg(At(entry.Where, column), error));
    return value;
}

bool Plan::Take(const PlanTable& table, QStringList* problems) {
    const qsizetype before = problems->size();
    columns_ = table.Columns();
    entries_.clear();
    macColumn_ = -1;
    for (int column = 0; column < columns_.size(); ++column) {
        const QString& name = columns_.at(column);
        bool number = false;
        const int id = name.toInt(&number);
        const QString where = QStringLiteral("%1: column \"%2\"").arg(table.HeaderWhere(), name);
        if (std::any_of(columns_.cbegin(), columns_.cbegin() + column, [&](const QString& earlier) {
                return earlier.compare(name, Qt::CaseInsensitive) == 0;
            }))
            problems->append(QStringLiteral("%1: the column is there twice").arg(where));
        else if (name.compare(QLatin1String("mac"), Qt::CaseInsensitive) == 0)
            macColumn_ = column;
        else if (number ? id < MinParamId || id > MaxParamIdLimit : !ParamNames::IsKnown(name.toStdString()))
            problems->append(
                QStringLiteral("%1: no parameter has this name or id (olgctl read shows them)").arg(where));
    }
    if (macColumn_ < 0) {
        problems->append(
            QStringLiteral("%1: there is no \"mac\" column to name the devices by").arg(table.HeaderWhere()));
        return false;
    }

    if (table.Rows().isEmpty())
        problems->append(QStringLiteral("%1: the plan names no device").arg(table.HeaderWhere()));
    // What each column sets on every model, found once rather than per row.
    std::vector<std::optional<std::pair<int, std::uint8_t>>> sharedOf;
    for (const QString& column : std::as_const(columns_))
        sharedOf.push_back(SharedParameter(registry_, column));
    QHash<std::uint64_t, QString> macs;
    QHash<std::int64_t, QString> addresses;
    for (const PlanTable::Row& row : table.Rows()) {
        Entry entry{row.Where, 0, row.Cells, -1, {}};
        const QString mac = row.Cells.at(macColumn_).trimmed();
        const std::optional<std::uint64_t> parsed = ParseMac(mac.toStdString());
        if (!parsed) {
            problems->append(
                QStringLiteral("%1: \"%2\" is not a MAC address").arg(At(row.Where, macColumn_), mac));
        } else if (macs.contains(*parsed)) {
            problems->append(QStringLiteral("%1: %2 is on %3 already")
                                 .arg(At(row.Where, macColumn_), mac, macs.value(*parsed)));
        } else {
            macs.insert(*parsed, row.Where);
            entry.Mac = *parsed;
        }
        for (int column = 0; column < columns_.size(); ++column) {
            const std::optional<std::pair<int, std::uint8_t>>& shared =
                sharedOf[static_cast<std::size_t>(column)];
            if (column == macColumn_ || !shared || row.Cells.at(column).trimmed().isEmpty())
                continue;
            const std::optional<ParamValue> value = Value(entry, column, shared->second, problems);
            if (!value || shared->first != param::IpAddress)
                continue;
            // One address for two devices makes both unreachable, whatever the LAN holds.
            if (addresses.contains(value->AsInteger()))
                problems->append(QStringLiteral("%1: %2 is given on %3 already")
                                     .arg(At(row.Where, column), row.Cells.at(column).trimmed(),
                                          addresses.value(value->AsInteger())));
            else
                addresses.insert(value->AsInteger(), row.Where);
        }
        entries_.append(entry);
    }
    return problems->size() == before;
}

Plan::Outcome Plan::Match(const DeviceList& devices, const std::function<QString(int)>& describe,
                          QStringList* problems) {
    Outcome outcome = Outcome::Fits;
    const auto fail = [&](Outcome kind, const QString& problem) {
        problems->append(problem);
        if (outcome != Outcome::PlanProblems)
            outcome = kind;
    };
    for (Entry& entry : entries_) {
        for (int i = 0; i < devices.Size() && entry.Device < 0; ++i) {
            if (devices.At(i).Mac == entry.Mac)
                entry.Device = i;
        }
        if (entry.Device < 0) {
            fail(Outcome::DeviceProblems,
                 QStringLiteral("%1: %2 did not answer the scan")
                     .arg(entry.Where, QString::fromStdString(FormatMac("-", entry.Mac))));
            continue;
        }
        const TOLG& record = devices.At(entry.Device);
        const ParamValue& type = record.TypeValue();
        const int index = registry_.FindDeviceType(type);
        if (index < 0) {
            fail(Outcome::DeviceProblems,
                 QStringLiteral("%1: %2 is of an unknown type").arg(entry.Where, describe(entry.Device)));
            continue;
        }
        const QString model = QString::fromStdString(registry_.Entry(index).Model);
        const ParamNames& names = NamesOf(registry_, type);
        std::map<int, int> columnOf;
        for (int column = 0; column < columns_.size(); ++column) {
            if (column == macColumn_ || entry.Cells.at(column).trimmed().isEmpty())
                continue;
            const int id = names.IdOf(columns_.at(column).toStdString()).value_or(0);
            const std::uint8_t kind = registry_.ParamKind(id, type);
            QStringList refused;
            if (id == 0 || !registry_.HasParam(id, type))
                refused.append(
                    QStringLiteral("%1: an %2 has no such parameter").arg(At(entry.Where, column), model));
            else if (registry_.ParamAccess(id, type) == AccessRead || kind < KindIp || kind > KindU32)
                refused.append(
                    QStringLiteral("%1: parameter %2 is read-only").arg(At(entry.Where, column)).arg(id));
            else if (columnOf.contains(id))
                refused.append(QStringLiteral("%1: parameter %2 is set by column \"%3\" too")
                                   .arg(At(entry.Where, column))
                                   .arg(id)
                                   .arg(columns_.at(columnOf.at(id))));
            else if (const std::optional<ParamValue> value = Value(entry, column, kind, &refused))
                entry.Values.emplace(id, *value);
            columnOf.emplace(id, column);
            for (const QString& problem : refused)
                fail(Outcome::PlanProblems, problem);
        }
        // An address another device answers from would give two devices one address.
        const auto address = entry.Values.find(param::IpAddress);
        if (address == entry.Values.end())
            continue;
        const QString text = FormatParamValue(KindIp, address->second);
        for (int other = 0; other < devices.Size(); ++other) {
            if (other != entry.Device && devices.At(other).SenderAddress == text.toStdString())
                fail(Outcome::DeviceProblems,
                     QStringLiteral("%1: %2 is the address %3 answers from")
                         .arg(At(entry.Where, columnOf.at(param::IpAddress)), text, describe(other)));
        }
    }
    return outcome;
}

const Plan::Entry* Plan::Find(std::uint64_t mac) const {
    for (const Entry& entry : entries_) {
        if (entry.Mac == mac)
            return &entry;
    }
    return nullptr;
}

} // namespace olg::cli
