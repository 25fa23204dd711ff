#pragma once

#include <QTableWidget>

namespace olg {

// A table of the devices a bulk action works on, one row each in the order they are worked on, with a Result
// column last that says how each one went. Read-only; it asks for room for a dozen rows and every column's
// text.
class DeviceResultTable : public QTableWidget {
    Q_OBJECT

public:
    DeviceResultTable(const QStringList& titles, QWidget* parent = nullptr);

    // Appends a row with these texts, the Result column left empty; returns its number.
    int AddRow(const QStringList& cells);
    void SetText(int row, int column, const QString& text);
    // A failure shows in the error colour.
    void SetResult(int row, const QString& text, bool failed = false);
    int ResultColumn() const { return columnCount() - 1; }
    // Widens the columns but the last to their texts.
    void FitColumns();
    // Never narrower than its columns and the room for the longest of these results: the dialog that holds it
    // may be made narrower than it asks.
    void KeepWidth(const QStringList& results);

    QSize sizeHint() const override;

private:
    int resultRoom_;
};

} // namespace olg
