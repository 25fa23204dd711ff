#include "GrowToFit.h"

#include <QEvent>
#include <QScreen>
#include <QTimer>
#include <QWidget>

namespace olg {

GrowToFit::GrowToFit(QWidget* dialog) : QObject(dialog), dialog_(dialog) {
    dialog->installEventFilter(this);
}

bool GrowToFit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == dialog_ && event->type() == QEvent::LayoutRequest && !pending_) {
        pending_ = true;
        // After the layout has taken the request in, so that the size hint is the new one.
        QTimer::singleShot(0, this, [this] {
            pending_ = false;
            if (!dialog_->isVisible())
                return;
            const QSize wanted = dialog_->size().expandedTo(dialog_->sizeHint());
            dialog_->resize(
                dialog_->screen() ? wanted.boundedTo(dialog_->screen()->availableGeometry().size()) : wanted);
        });
    }
    return QObject::eventFilter(watched, event);
}

} // namespace olg
