#pragma once

#include <QIcon>
#include <QString>
#include <QStringList>

namespace olg {

// The program's icon. An installed program takes the files installed beside it (PREFIX/share/icons), which a
// packager may replace; a program run from the build tree takes the copy built into it.
class ApplicationIcon {
public:
    // The desktop entry's and the icon's name.
    static QString Name();
    // The icon files, largest first, for a program in this folder.
    static QStringList Files(const QString& programFolder);
    static QIcon Load(const QString& programFolder);
};

} // namespace olg
