#include "DeviceResultTable.h"

#include <QHeaderView>

#include <algorithm>

namespace olg {

namespace {

constexpr int ShownRows = 12;
constexpr int ResultRoom = 24; // characters kept at least for the Result column
constexpr int CellMargin = 12;

} // namespace

DeviceResultTable::DeviceResultTable(const QStringList& titles, QWidget* parent)
    : QTableWidget(0, static_cast<int>(titles.size()), parent),
      resultRoom_(fontMetrics().averageCharWidth() * ResultRoom) {
    setHorizontalHeaderLabels(titles);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::NoSelection);
    setTabKeyNavigation(false);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setHighlightSections(false);
}

int DeviceResultTable::AddRow(const QStringList& cells) {
    const int row = rowCount();
    insertRow(row);
    for (int column = 0; column < columnCount(); ++column)
        setItem(row, column, new QTableWidgetItem(cells.value(column)));
    return row;
}

void DeviceResultTable::SetText(int row, int column, const QString& text) {
    item(row, column)->setText(text);
    item(row, column)->setToolTip(text);
}

void DeviceResultTable::SetResult(int row, const QString& text, bool failed) {
    SetText(row, ResultColumn(), text);
    item(row, ResultColumn())->setForeground(failed ? QBrush(Qt::red) : palette().text());
}

void DeviceResultTable::FitColumns() {
    for (int column = 0; column < ResultColumn(); ++column)
        resizeColumnToContents(column);
}

void DeviceResultTable::KeepWidth(const QStringList& results) {
    for (const QString& result : results)
        resultRoom_ = std::max(resultRoom_, fontMetrics().horizontalAdvance(result) + CellMargin);
    setMinimumWidth(sizeHint().width());
}

QSize DeviceResultTable::sizeHint() const {
    int width = 2 * frameWidth() + resultRoom_;
    for (int column = 0; column < ResultColumn(); ++column)
        width += horizontalHeader()->sectionSize(column);
    const int rows = std::clamp(rowCount(), 3, ShownRows);
    const int height = 2 * frameWidth() + horizontalHeader()->sizeHint().height() +
                       rows * verticalHeader()->defaultSectionSize();
    return {width, height};
}

} // namespace olg
