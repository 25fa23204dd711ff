#pragma once

#include "TableText.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <QVariant>

#include <optional>

namespace olg::cli {

enum class OutputFormat { Table, Csv, Json };

// "table", "csv" or "json".
std::optional<OutputFormat> ParseOutputFormat(const QString& text);

// Writes rows of values in one of the output formats: an aligned table for people, CSV with a header line,
// or a JSON array of objects. Numbers stay numbers in JSON; everything else is text.
class ListWriter {
public:
    using Column = TableColumn;

    explicit ListWriter(QList<Column> columns) : columns_(std::move(columns)) {}

    void AddRow(QVariantList row) { rows_.append(std::move(row)); }
    void Write(QTextStream& out, OutputFormat format) const;

private:
    void WriteTable(QTextStream& out) const;
    void WriteCsv(QTextStream& out) const;
    void WriteJson(QTextStream& out) const;

    QList<Column> columns_;
    QList<QVariantList> rows_;
};

} // namespace olg::cli
