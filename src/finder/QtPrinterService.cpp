#include "QtPrinterService.h"

#include "MacLabel.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace olg {

namespace {

// A printer cannot print at the edge of the paper; a PDF page keeps a border as wide as a usual one.
constexpr qreal PdfBorderMillimetres = 10.0;

} // namespace

bool QtPrinterService::HasPrinter() {
    return !QPrinterInfo::defaultPrinter().isNull();
}

bool QtPrinterService::Print(const PrintJob& job, const std::function<void(QPainter&, int)>& page,
                             QString* error) {
    QPrinter printer(QPrinter::HighResolution);
    if (!job.PdfFile.isEmpty()) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(job.PdfFile);
        printer.setResolution(MacLabel::FileDotsPerInch);
        printer.setPageMargins(
            QMarginsF(PdfBorderMillimetres, PdfBorderMillimetres, PdfBorderMillimetres, PdfBorderMillimetres),
            QPageLayout::Millimeter);
    }
    printer.setPageOrientation(job.Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    printer.setDocName(job.Title);
    const QString where = job.PdfFile.isEmpty() ? printer.printerName() : job.PdfFile;
    QPainter painter;
    if (!painter.begin(&printer)) {
        *error = QStringLiteral("Printing on %1 failed.").arg(where);
        return false;
    }
    page(painter, printer.resolution());
    if (!painter.end() || printer.printerState() == QPrinter::Error) {
        *error = QStringLiteral("Printing on %1 failed.").arg(where);
        return false;
    }
    return true;
}

} // namespace olg
