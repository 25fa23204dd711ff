#include "NativePlatform.h"

#include "TFormMain.h"

#include <QCoreApplication>

namespace olg {

namespace {

PlatformServices* installed = nullptr;

} // namespace

NativePlatform::NativePlatform() : settings_(TFormMain::ApplicationTitle()) {}

QString NativePlatform::ExecutableFile() {
    return QCoreApplication::applicationFilePath();
}

PlatformServices& PlatformServices::Current() {
    if (installed)
        return *installed;
    static NativePlatform native;
    return native;
}

void PlatformServices::Install(PlatformServices* services) {
    installed = services;
}

} // namespace olg
