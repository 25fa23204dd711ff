#include "ListWriter.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace olg::cli {

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
    QList<qsizetype> widths;
    for (const Column& column : columns_)
        widths.append(column.Title.size());
    for (const QVariantList& row : rows_) {
        for (qsizetype i = 0; i < row.size() && i < widths.size(); ++i)
            widths[i] = std::max(widths[i], row[i].toString().size());
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
    for (const QVariantList& row : rows_) {
        QStringList cells;
        for (const QVariant& value : row)
            cells.append(value.toString());
        writeLine(cells);
    }
}

void ListWriter::WriteCsv(QTextStream& out) const {
    out << TableText::Csv(columns_, rows_);
}

void ListWriter::WriteJson(QTextStream& out) const {
    out << TableText::Json(columns_, rows_);
}

} // namespace olg::cli
