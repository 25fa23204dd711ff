#pragma once

#include "PrinterService.h"

namespace olg {

// Printing through Qt's print support: the system's default printer as configured, or a PDF file.
class QtPrinterService : public PrinterService {
public:
    bool HasPrinter() override;
    bool Print(const PrintJob& job, const std::function<void(QPainter&, int dotsPerInch)>& page,
               QString* error) override;
};

} // namespace olg
