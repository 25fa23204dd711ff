#include "ApplicationIcon.h"

#include <QDir>
#include <QFileInfo>

namespace olg {

namespace {

const char* const Sizes[] = {"256x256", "48x48"};

} // namespace

QString ApplicationIcon::Name() {
    return QStringLiteral(OLG_APP_ID);
}

QStringList ApplicationIcon::Files(const QString& programFolder) {
    const QDir hicolor(programFolder + QStringLiteral("/../share/icons/hicolor"));
    QStringList installed;
    QStringList builtIn;
    for (const char* size : Sizes) {
        const QString path = QStringLiteral("%1/apps/%2.png").arg(QLatin1String(size), Name());
        installed.append(QDir::cleanPath(hicolor.filePath(path)));
        builtIn.append(QStringLiteral(":/icons/") + path);
    }
    for (const QString& file : installed) {
        if (!QFileInfo(file).isFile())
            return builtIn;
    }
    return installed;
}

QIcon ApplicationIcon::Load(const QString& programFolder) {
    QIcon icon;
    for (const QString& file : Files(programFolder))
        icon.addFile(file);
    return icon;
}

} // namespace olg
