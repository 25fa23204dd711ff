#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace olg::cli {

// The cells of a provisioning plan as its file holds them: CSV with a header row (RFC 4180 quoting, UTF-8),
// or JSON, an array of objects whose values are texts or whole numbers. A row knows where it stands in the
// file, for messages: "plan.csv:4" or "plan.json: object 3".
class PlanTable {
public:
    struct Row {
        QString Where;
        QStringList Cells; // one per column; an empty cell leaves the parameter as it is
    };

    // Reads the file as JSON when its name ends in .json, or else when it begins with "["; as CSV otherwise.
    // Every problem goes to *problems, naming where it is; a row with one is left out. False when the file
    // gave no table at all.
    bool Read(const QString& path, QStringList* problems);
    // The same for the file's bytes; name stands for the file in messages.
    bool Parse(const QString& name, const QByteArray& bytes, bool json, QStringList* problems);

    // Where the column names stand: "plan.csv:1" or "plan.json".
    const QString& HeaderWhere() const { return headerWhere_; }
    const QStringList& Columns() const { return columns_; }
    const QList<Row>& Rows() const { return rows_; }

private:
    void ParseCsv(const QString& name, const QByteArray& text, QStringList* problems);
    void ParseJson(const QString& name, const QByteArray& bytes, QStringList* problems);

    QString headerWhere_;
    QStringList columns_;
    QList<Row> rows_;
};

} // namespace olg::cli
