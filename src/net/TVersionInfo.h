#pragma once

#include "DistributionVariant.h"

#include <QString>

namespace olg {

// The version texts of an executable file, read from the version block every executable of the program
// carries. A file without one gives "<info not available>" for every text.
class TVersionInfo {
public:
    // Reads the program's own file.
    TVersionInfo();

    void GetInfo(const QString& fileName);

    // The distribution variant of an executable file, chosen by the build part of its version: what the
    // window and olgctl both run as, so that the devices hear one distributor code from either.
    static DistributionVariant Distribution(const QString& fileName);

    QString CompanyName;
    QString FileDescription;
    QString FileVersion;
    QString Internalname;
    QString LegalCopyright;
    QString LegalTradeMarks;
    QString OriginalFilename;
    QString ProductName;
    QString ProductVersion;
    QString Comments;
    QString MajorVersion;
    QString MinorVersion;
    QString Release;
    QString Build;
};

} // namespace olg
