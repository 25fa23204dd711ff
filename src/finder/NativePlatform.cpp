#include "NativePlatform.h"

#include "TFormMain.h"

#include <QCoreApplication>

namespace olg {

NativePlatform::NativePlatform() : settings_(TFormMain::ApplicationTitle()) {}

QString NativePlatform::ExecutableFile() {
    return QCoreApplication::applicationFilePath();
}

} // namespace olg
