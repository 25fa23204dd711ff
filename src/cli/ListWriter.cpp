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
    table.reserve(rows_.size());
    for (const QVariantList& row : rows_) {
        QStringList cells;
        cells.reserve(row.size());
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
    // One text for the whole table, padded in place: a scan may list tens of thousands of devices.
    QString text;
    const auto writeLine = [&](const QStringList& cells) {
        for (qsizetype i = 0; i < cells.size(); ++i) {
            if (i > 0)
                text += QLatin1String("  ");
            text += cells[i];
            if (i + 1 < cells.size() && i < widths.size())
                text.resize(text.size() + std::max<qsizetype>(0, widths[i] - cells[i].size()), u' ');
        }
        // Empty cells at the end of a row leave no blanks behind.
        qsizetype end = text.size();
        while (end > 0 && text.at(end - 1) == u' ')
            --end;
        text.truncate(end);
        text += u'\n';
    };
    QStringList titles;
    for (const Column& column : columns_)
        titles.append(column.Title);
    writeLine(titles);
    for (const QStringList& cells : table)
        writeLine(cells);
    out << text;
}

void ListWriter::WriteCsv(QTextStream& out) const {
    out << TableText::Csv(columns_, rows_);
}

void ListWriter::WriteJson(QTextStream& out) const {
    out << TableText::Json(columns_, rows_);
}

} // namespace olg::cli
