#pragma once

#include <QWidget>

class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QTabWidget;

namespace olg {

class ComponentOwner;

// A tab page built in code. It places itself into its page control and registers itself and every control
// it creates with the dialog, in creation order, since the dialog loads and stores its controls by walking
// that list backwards.
class ConfigPage : public QWidget {
    Q_OBJECT

protected:
    ConfigPage(ComponentOwner& owner, QTabWidget* pageControl, const QString& caption, int pageIndex);

    // Creates a control with the given parent and registers it with the dialog.
    template <class Control> Control* Create(QWidget* parent) {
        auto* control = new Control(parent);
        Register(control);
        return control;
    }
    QLabel* CreateLabel(const QString& text, QWidget* parent);
    // A group box laid out as a grid, which the caller fills.
    QGroupBox* CreateGroupBox(const QString& title, QWidget* parent, QGridLayout** grid);

    void Register(QObject* control);

    // Every character of a password shows as "*", whatever the platform's own mask character.
    static void ShowAsPassword(QLineEdit* edit);
    // Gives the first column of each grid the width of the widest, so that fields in stacked group boxes
    // line up.
    static void AlignFirstColumns(std::initializer_list<QGridLayout*> grids);

private:
    ComponentOwner& owner_;
};

} // namespace olg
