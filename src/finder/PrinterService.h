#pragma once

#include <QPainter>
#include <QString>

#include <functional>

namespace olg {

// One print job of a single page.
struct PrintJob {
    QString Title;
    bool Landscape = false;
    // When set, the page goes into this PDF file instead of a printer.
    QString PdfFile;
};

// The printers of the machine.
class PrinterService {
public:
    virtual ~PrinterService() = default;

    virtual bool HasPrinter() = 0;

    // Runs the job on the default printer (or into its PDF file): page is called with the painter and the
    // device's dots per inch while the page is open. False, with the reason, when the job could not start
    // or end; page is not called when it could not start.
    virtual bool Print(const PrintJob& job, const std::function<void(QPainter&, int dotsPerInch)>& page,
                       QString* error) = 0;
};

} // namespace olg
