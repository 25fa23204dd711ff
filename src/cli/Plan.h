#pragma once

#include "DeviceList.h"
#include "DeviceRegistry.h"
#include "ParamValue.h"
#include "PlanTable.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <map>

namespace olg::cli {

// A provisioning plan, checked whole before anything is written: which device (by MAC) gets which values.
// Columns are "mac", parameter ids and the names olgctl read shows; a name counts for the model of each
// device, so "socket3" means one id on one model and another on the next. Every problem is told with its
// row and column.
class Plan {
public:
    struct Entry {
        QString Where;
        std::uint64_t Mac = 0;
        QStringList Cells;                // as the table holds them
        int Device = -1;                  // in the scan's list, once matched
        std::map<int, ParamValue> Values; // id -> value for the device's model, once matched
    };
    enum class Outcome { Fits, DeviceProblems, PlanProblems };

    explicit Plan(const DeviceRegistry& registry) : registry_(registry) {}

    // What the file alone tells: the columns, the MACs, each given once, the values whose kind every model
    // shares, and no address given twice. False with the problems appended.
    bool Take(const PlanTable& table, QStringList* problems);
    // After a scan: each entry's device, its values typed for its model, and no address that another
    // device answers from. describe names a listed device in messages.
    Outcome Match(const DeviceList& devices, const std::function<QString(int)>& describe,
                  QStringList* problems);

    const QList<Entry>& Entries() const { return entries_; }
    // Nullptr for a MAC the plan does not name.
    const Entry* Find(std::uint64_t mac) const;

private:
    // The value of a cell for a parameter of this kind; nothing with the problem appended.
    std::optional<ParamValue> Value(const Entry& entry, int column, std::uint8_t kind,
                                    QStringList* problems) const;
    QString At(const QString& where, int column) const;

    const DeviceRegistry& registry_;
    QStringList columns_;
    int macColumn_ = -1;
    QList<Entry> entries_;
};

} // namespace olg::cli
