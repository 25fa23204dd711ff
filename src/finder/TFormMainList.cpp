// The main window's list as the user arranges it: the filter field, sorting by a title click, and the export
// of the devices shown.

#include "TFormMain.h"

#include "ScanListing.h"
#include "TableText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QSaveFile>
#include <QShortcut>

namespace olg {

QWidget* TFormMain::CreateFilterBar() {
    auto* bar = new QWidget(this);
    auto* layout = new QHBoxLayout(bar);
    const int margin = style()->pixelMetric(QStyle::PM_LayoutTopMargin) / 2;
    layout->setContentsMargins(margin, margin, margin, margin);
    filterEdit_ = new QLineEdit(bar);
    filterEdit_->setObjectName(QStringLiteral("FilterEdit"));
    filterEdit_->setPlaceholderText(tr("Filter by name, type, IP or MAC address"));
    filterEdit_->setClearButtonEnabled(true);
    layout->addWidget(filterEdit_);
    connect(filterEdit_, &QLineEdit::textChanged, this, &TFormMain::FilterChange);
    // Enter goes on to the rows found.
    connect(filterEdit_, &QLineEdit::returnPressed, grid_, qOverload<>(&QWidget::setFocus));
    setTabOrder(filterEdit_, grid_);
    // The grid keeps the focus the window starts with.
    grid_->setFocus();
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, [this] {
        filterEdit_->setFocus(Qt::ShortcutFocusReason);
        filterEdit_->selectAll();
    });
    return bar;
}

void TFormMain::SortClick(int column) {
    sortFilter_->CycleSort(column);
    QHeaderView* columns = grid_->horizontalHeader();
    columns->setSortIndicatorShown(sortFilter_->sortColumn() >= 0);
    columns->setSortIndicator(sortFilter_->sortColumn(), sortFilter_->sortOrder());
    const QModelIndex current = grid_->currentIndex();
    if (current.isValid())
        grid_->scrollTo(current);
}

void TFormMain::FilterChange(const QString& text) {
    const int selected = selectedDevice_;
    sortFilter_->SetFilterText(text);
    if (devices_.Empty())
        return;
    // The selected device keeps its selection while it is shown; when the filter hides it, the first device
    // shown takes its place, and when the filter hides every device, the selection stays with it.
    const int row = sortFilter_->ViewRow(selected);
    const QModelIndex target = sortFilter_->index(row < 0 ? 0 : row, 0);
    if (!target.isValid()) {
        StringGridSelectCell(0, selected + 1);
        return;
    }
    grid_->selectionModel()->setCurrentIndex(target,
                                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    grid_->scrollTo(target);
}

void TFormMain::KeepSelectionShown() {
    QItemSelectionModel* selection = grid_->selectionModel();
    if (devices_.Empty() || selection->hasSelection())
        return;
    const int row = sortFilter_->ViewRow(selectedDevice_);
    const QModelIndex target = sortFilter_->index(row < 0 ? 0 : row, 0);
    if (target.isValid())
        selection->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void TFormMain::ExportClick() {
    const QString fileName =
        prompts_.AskSaveFileName({tr("Export Device List"), QStringLiteral("devices.csv"),
                                  QStringLiteral("csv"), tr("CSV files (*.csv);;JSON files (*.json)"), true});
    if (fileName.isEmpty())
        return;
    // The devices shown, in the order shown.
    const ScanListing listing(devices_);
    QList<QVariantList> rows;
    for (int row = 0; row < sortFilter_->rowCount(); ++row) {
        const int index = sortFilter_->ListIndex(row);
        if (index >= 0)
            rows.append(listing.Row(index));
    }
    const bool json = fileName.endsWith(QLatin1String(".json"), Qt::CaseInsensitive);
    const QByteArray text =
        (json ? TableText::Json(ScanListing::Columns(), rows) : TableText::Csv(ScanListing::Columns(), rows))
            .toUtf8();
    // Written whole or not at all: a failed export leaves an earlier file as it was.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        prompts_.ShowError(tr("Cannot write %1: %2").arg(fileName, file.errorString()));
}

} // namespace olg
