#include "ScanLimit.h"

namespace olg {

QString IgnoredDevicesWarning(int capacity) {
    return QStringLiteral(
               "More than %1 devices answered the scan: only the first %1 are listed and the others "
               "were ignored.")
        .arg(capacity);
}

} // namespace olg
