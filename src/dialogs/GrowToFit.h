#pragma once

#include <QObject>

class QWidget;

namespace olg {

// Lets a dialog grow whenever its content asks for more room than it has, e.g. when the full view shows
// tabs that the general view hid, so that no tab shows its fields squeezed. It never shrinks the dialog, nor
// grows it past the screen.
class GrowToFit : public QObject {
    Q_OBJECT

public:
    // Watches the dialog, whose child it becomes.
    explicit GrowToFit(QWidget* dialog);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* dialog_;
    bool pending_ = false;
};

} // namespace olg
