#pragma once

#include "TOLG.h"
#include "TableText.h"

namespace olg {

// The fields of a listed device as olgctl scan prints them and the window exports them: name, type, IP
// address, MAC address, type code and firmware version.
class ScanListing {
public:
    static QList<TableColumn> Columns();
    static QVariantList Row(const TOLG& record);
};

} // namespace olg
