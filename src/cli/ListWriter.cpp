#include "ListWriter.h"

#include "TerminalText.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace olg::cli {

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

std::optional<OutputFormat> ParseOutputFormat(const QString& text) {
    if (text == QLatin1String("table"))
        return OutputFormat::Table;
    if (text == QLatin1String("csv"))
        return OutputFormat::Csv;
    if (text == QLatin1String("json"))
        return OutputFormat::Json;
    return std::nullopt;
}

void ListWriter::Write(QTextStream& out, OutputFormat format) const {
    switch (format) {
    case OutputFormat::Table:
        WriteTable(out);
        break;
    case OutputFormat::Csv:
        WriteCsv(out);
        break;
    case OutputFormat::Json:
        WriteJson(out);
        break;
    }
    out.flush();
}

void ListWriter::WriteTable(QTextStream& out) const {
    // A table goes to a terminal: device texts are shown with their control characters escaped.
    QList<QStringList> table;
    for (const QVariantList& row : rows_) {
        QStringList cells;
        for (const QVariant& value : row)
            cells.append(TerminalText(value.toString()));
        table.append(cells);
    }
    QList<qsizetype> widths;
    for (const Column& column : columns_)
        widths.append(column.Title.size());
    for (const QStringList& cells : table) {
        for (qsizetype i = 0; i < cells.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], cells[i].size());
    }
    const auto writeLine = [&](const QStringList& cells) {
        QString line;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                line += QStringLiteral("  ");
            line += i + 1 < cells.size() ? cells[i].leftJustified(widths[i]) : cells[i];
        }
        out << line << '\n';
    };
    QStringList titles;
    for (const Column& column : columns_)
        titles.append(column.Title);
    writeLine(titles);
    for (const QStringList& cells : table)
        writeLine(cells);
}

void ListWriter::WriteCsv(QTextStream& out) const {
    QStringList titles;
    for (const Column& column : columns_)
        titles.append(CsvField(column.Title));
    out << titles.join(QLatin1Char(',')) << '\n';
    for (const QVariantList& row : rows_) {
        QStringList cells;
        for (const QVariant& value : row)
            cells.append(CsvField(value.toString()));
        out << cells.join(QLatin1Char(',')) << '\n';
    }
}

void ListWriter::WriteJson(QTextStream& out) const {
    QJsonArray array;
    for (const QVariantList& row : rows_) {
        QJsonObject object;
        for (qsizetype i = 0; i < row.size() && i < columns_.size(); ++i)
            object.insert(columns_[i].JsonKey, QJsonValue::fromVariant(row[i]));
        array.append(object);
    }
    out << QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

} // namespace olg::cli
