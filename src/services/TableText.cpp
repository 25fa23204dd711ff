#include "TableText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace olg {

namespace {

QString CsvField(const QString& text) {
    static const QString special = QStringLiteral(",\"\r\n");
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return special.contains(c); }))
        return text;
    QString quoted = text;
    quoted.replace(QStringLiteral("\""), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace

QString TableText::Csv(const QList<TableColumn>& columns, const QList<QVariantList>& rows) {
    QStringList titles;
    for (const TableColumn& column : columns)
        titles.append(CsvField(column.Title));
    QString text = titles.join(QLatin1Char(',')) + QLatin1Char('\n');
    for (const QVariantList& row : rows) {
        QStringList cells;
        for (const QVariant& value : row)
            cells.append(CsvField(value.toString()));
        text += cells.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text;
}

QString TableText::Json(const QList<TableColumn>& columns, const QList<QVariantList>& rows) {
    QJsonArray array;
    for (const QVariantList& row : rows) {
        QJsonObject object;
        for (qsizetype i = 0; i < row.size() && i < columns.size(); ++i)
            object.insert(columns[i].JsonKey, QJsonValue::fromVariant(row[i]));
        array.append(object);
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

} // namespace olg
