#pragma once

#include <QList>
#include <QString>
#include <QVariant>

namespace olg {

// A column of a written list: its title (CSV header) and its key in the JSON objects.
struct TableColumn {
    QString Title;
    QString JsonKey;
};

// Rows of values as the text of a file: CSV with a header line, fields quoted where they hold a comma, a
// quote or a line break; or a JSON array of objects, where numbers stay numbers and everything else is text.
class TableText {
public:
    static QString Csv(const QList<TableColumn>& columns, const QList<QVariantList>& rows);
    static QString Json(const QList<TableColumn>& columns, const QList<QVariantList>& rows);
};

} // namespace olg
