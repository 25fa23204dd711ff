#pragma once

#include "SingleInstance.h"

#include <QWidget>

namespace olg {

// Brings a window to the front on a later start of the program: restored when minimised, then raised and
// activated.
inline void BringToFront(QWidget& window) {
    window.setWindowState((window.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window.show();
    window.raise();
    window.activateWindow();
}

// Every later start of the program brings this window to the front.
inline void FollowActivation(SingleInstance& instance, QWidget& window) {
    QObject::connect(&instance, &SingleInstance::ActivationRequested, &window,
                     [&window] { BringToFront(window); });
}

} // namespace olg
