#pragma once

#include <QCoreApplication>
#include <QList>
#include <QTextStream>

#include <optional>

namespace olg::testing {

// The fleet sizes a benchmark was given on its command line, or the defaults when none; nothing (after
// saying why) when an argument is not a size from 1 to maxFleet.
inline std::optional<QList<int>> BenchFleets(const char* benchmark, int maxFleet, const QList<int>& defaults,
                                             QTextStream& out) {
    QList<int> fleets;
    for (const QString& argument : QCoreApplication::arguments().mid(1)) {
        bool ok = false;
        const int fleet = argument.toInt(&ok);
        if (!ok || fleet < 1 || fleet > maxFleet) {
            out << benchmark << ": a fleet is 1 to " << maxFleet << " devices, not " << argument << Qt::endl;
            return std::nullopt;
        }
        fleets.append(fleet);
    }
    return fleets.isEmpty() ? defaults : fleets;
}

} // namespace olg::testing
