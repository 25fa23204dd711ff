#include "ListWriter.h"

#include "TerminalText.h"

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
        // Empty cells at the end of a row leave no blanks behind.
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
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
    out << TableText::Csv(columns_, rows_);
}

void ListWriter::WriteJson(QTextStream& out) const {
    out << TableText::Json(columns_, rows_);
}

} // namespace olg::cli
