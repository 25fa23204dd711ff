#include "FileDialogFolders.h"

#include <QDir>
#include <QFileInfo>

namespace olg {

namespace {

const QString FoldersGroup = QStringLiteral("Folders");

QString Kind(const FileDialogRequest& request) {
    return request.DefaultSuffix.isEmpty() ? QStringLiteral("any") : request.DefaultSuffix;
}

} // namespace

QString FileDialogFolders::StartName(const FileDialogRequest& request) const {
    const QString folder = settings_.Value(FoldersGroup, Kind(request));
    if (folder.isEmpty() || request.FileName.contains(QLatin1Char('/')))
        return request.FileName;
    return QDir(folder).filePath(request.FileName);
}

void FileDialogFolders::Remember(const FileDialogRequest& request, const QString& chosen) {
    if (!chosen.isEmpty())
        settings_.SetValue(FoldersGroup, Kind(request), QFileInfo(chosen).absolutePath());
}

} // namespace olg
