// Lists every bound control of every model dialog as its constructor builds it for the devices of the
// simulated LAN (one of each type code, and the older firmware that changes a dialog), in creation order,
// which is the order the dialog loads and stores them in: tab, component name, kind, caption, tag and the
// limits of the control. A wrong id, bit, mask, caption or order shows as a changed line.
// Usage: QT_QPA_PLATFORM=offscreen bound_controls               prints the listing
//        QT_QPA_PLATFORM=offscreen bound_controls --check FILE  compares it with FILE; 1 when they differ

#include "BoundControl.h"
#include "LimitedEdit.h"
#include "ModelForms.h"
#include "RecordingPrompts.h"
#include "SimulatedLan.h"
#include "TFormMain.h"
#include "TOlgForm.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabWidget>

#include <cstdio>

using namespace olg;

namespace {

struct Device {
    quint32 Type = 0;
    QString Firmware;
};

// The devices of the simulated LAN, from the simulator's arguments ("type=0x...,mac=...,fw=...,name=...").
QList<Device> DemoDevices() {
    QList<Device> devices;
    for (const QString& argument : SimulatedLan::DeviceArguments()) {
        if (argument.startsWith(QLatin1String("--")))
            continue;
        Device device;
        for (const QString& field : argument.split(QLatin1Char(','))) {
            if (field.startsWith(QLatin1String("type=")))
                device.Type = field.mid(5).toUInt(nullptr, 16);
            else if (field.startsWith(QLatin1String("fw=")))
                device.Firmware = field.mid(3);
        }
        devices.append(device);
    }
    return devices;
}

QString Quoted(const QString& text) {
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The tabs the control lies on, outermost first, and the group box around it.
QString Place(const QWidget* control, const QWidget* dialog) {
    QStringList tabs;
    QString group;
    for (const QWidget* widget = control->parentWidget(); widget != nullptr && widget != dialog;
         widget = widget->parentWidget()) {
        if (const auto* box = qobject_cast<const QGroupBox*>(widget); box != nullptr && group.isNull())
            group = box->title();
        const QWidget* stack = widget->parentWidget();
        const auto* tabWidget =
            stack != nullptr ? qobject_cast<const QTabWidget*>(stack->parentWidget()) : nullptr;
        if (qobject_cast<const QStackedWidget*>(stack) != nullptr && tabWidget != nullptr)
            tabs.prepend(tabWidget->tabText(tabWidget->indexOf(const_cast<QWidget*>(widget))));
    }
    QString place = tabs.join(QStringLiteral(" > "));
    if (!group.isNull())
        place += QStringLiteral(" / ") + Quoted(group);
    return place;
}

bool Hidden(const QWidget* control, const QWidget* dialog) {
    // A page of a tab widget is hidden while another tab is current: that does not count.
    for (const QWidget* widget = control; widget != nullptr && widget != dialog;
         widget = widget->parentWidget())
        if (widget->isHidden() && qobject_cast<const QStackedWidget*>(widget->parentWidget()) == nullptr)
            return true;
    return false;
}

// The grid of the layouts under the widget's parent that holds the widget, with its cell.
QGridLayout* GridOf(const QLayout* layout, const QWidget* widget, int* row, int* column) {
    for (int index = 0; layout != nullptr && index < layout->count(); ++index) {
        QLayoutItem* item = layout->itemAt(index);
        if (item->widget() == widget) {
            auto* grid = qobject_cast<QGridLayout*>(const_cast<QLayout*>(layout));
            int rowSpan = 0;
            int columnSpan = 0;
            if (grid != nullptr)
                grid->getItemPosition(index, row, column, &rowSpan, &columnSpan);
            return grid;
        }
        if (QGridLayout* inner = GridOf(item->layout(), widget, row, column))
            return inner;
    }
    return nullptr;
}

// The first label met from the cell in one direction, past controls of the control's own kind (the other
// rows or columns of a table); nothing when another kind of widget stands between.
QString LabelFrom(const QGridLayout* grid, const QWidget* control, int row, int column, int rowStep,
                  int columnStep) {
    for (row += rowStep, column += columnStep; row >= 0 && column >= 0;
         row += rowStep, column += columnStep) {
        const QLayoutItem* item = grid->itemAtPosition(row, column);
        const QWidget* widget = item != nullptr ? item->widget() : nullptr;
        if (widget == nullptr || widget->metaObject() == control->metaObject())
            continue;
        if (const auto* label = qobject_cast<const QLabel*>(widget))
            return label->text();
        break;
    }
    return {};
}

// What tells the user what a control is: its own text, the label that names it, or the labels of the row
// and the column it stands in.
QString Caption(const QWidget* control, const QHash<const QWidget*, QString>& buddies) {
    if (const auto* button = qobject_cast<const QAbstractButton*>(control);
        button && !button->text().isEmpty())
        return Quoted(button->text());
    if (buddies.contains(control))
        return QStringLiteral("label ") + Quoted(buddies.value(control));
    QStringList parts;
    int row = 0;
    int column = 0;
    if (const QGridLayout* grid = GridOf(control->parentWidget()->layout(), control, &row, &column)) {
        if (const QString beside = LabelFrom(grid, control, row, column, 0, -1); !beside.isNull())
            parts << QStringLiteral("beside ") + Quoted(beside);
        if (const QString under = LabelFrom(grid, control, row, column, -1, 0); !under.isNull())
            parts << QStringLiteral("under ") + Quoted(under);
    }
    if (parts.isEmpty() && !control->accessibleName().isEmpty())
        parts << QStringLiteral("named ") + Quoted(control->accessibleName());
    return parts.isEmpty() ? QStringLiteral("-") : parts.join(QLatin1Char(' '));
}

QString TagText(ControlTag tag, bool button) {
    QString text = QStringLiteral("0x%1 id %2").arg(tag.Raw(), 8, 16, QLatin1Char('0')).arg(tag.Id());
    if (tag.M() != 0)
        text += QStringLiteral(" value 0x%1 mask 0x%2")
                    .arg(tag.V(), 2, 16, QLatin1Char('0'))
                    .arg(tag.M(), 2, 16, QLatin1Char('0'));
    else if (button || tag.V() != 0)
        text += QStringLiteral(" bit %1").arg(tag.V());
    if (tag.H())
        text += QStringLiteral(" high byte");
    return text;
}

QStringList Notes(const QWidget* control, const QWidget* dialog) {
    QStringList notes;
    if (const auto* edit = qobject_cast<const QLineEdit*>(control)) {
        if (edit->echoMode() == QLineEdit::Password)
            notes << QStringLiteral("password");
        if (edit->isReadOnly())
            notes << QStringLiteral("read-only");
        if (edit->maxLength() != QLineEdit().maxLength())
            notes << QStringLiteral("cut at %1").arg(edit->maxLength());
        if (const auto* limited = qobject_cast<const LimitedEdit*>(control);
            limited != nullptr && limited->Limit() < QLineEdit().maxLength())
            notes << QStringLiteral("types at most %1").arg(limited->Limit());
    }
    if (const auto* spin = qobject_cast<const QSpinBox*>(control))
        notes << QStringLiteral("%1 to %2%3")
                     .arg(spin->minimum())
                     .arg(spin->maximum())
                     .arg(spin->suffix().isEmpty() ? QString() : QLatin1Char(' ') + Quoted(spin->suffix()));
    if (Hidden(control, dialog))
        notes << QStringLiteral("hidden");
    return notes;
}

QStringList Listing(TOlgForm& dialog) {
    QHash<const QWidget*, QString> labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() != nullptr)
            labels.insert(label->buddy(), label->text());
    QStringList lines;
    for (const QPointer<QObject>& component : dialog.Components()) {
        const BoundControl* bound = ComponentOwner::Bound(component.data());
        const auto* widget = qobject_cast<const QWidget*>(component.data());
        if (bound == nullptr || widget == nullptr)
            continue;
        const bool button = qobject_cast<const QAbstractButton*>(widget) != nullptr;
        QStringList fields{
            Place(widget, &dialog), widget->objectName(),
            QString::fromLatin1(widget->metaObject()->className()).remove(QStringLiteral("olg::")),
            Caption(widget, labels), TagText(bound->Tag(), button)};
        const QStringList notes = Notes(widget, &dialog);
        if (!notes.isEmpty())
            fields << notes.join(QStringLiteral(", "));
        lines << fields.join(QStringLiteral(" | "));
    }
    return lines;
}

QStringList WholeListing() {
    testing::RecordingPrompts prompts;
    // The window is the dialogs' host; its exchange stays on loopback and is never used.
    ExchangeSettings settings;
    settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
    settings.BindPort = 0;
    settings.TargetAddress = QHostAddress(QHostAddress::LocalHost);
    settings.TargetPort = 9;
    TFormMain window(prompts, settings);
    QStringList lines;
    for (const Device& demo : DemoDevices()) {
        TOLG device;
        device.SetValue(13, ParamValue::Integer(demo.Type));
        device.SetValue(12, ParamValue::Text(demo.Firmware.toStdString()));
        const int entry = window.Registry().FindDeviceType(device.Value(13));
        if (entry < 0)
            continue;
        const std::string model = window.Registry().Entry(entry).Model;
        const std::unique_ptr<TOlgForm> dialog = CreateModelForm(model, window, device, nullptr);
        if (!dialog)
            continue;
        lines << QStringLiteral("[%1 0x%2 firmware %3]")
                     .arg(QString::fromStdString(model))
                     .arg(demo.Type, 8, 16, QLatin1Char('0'))
                     .arg(demo.Firmware);
        lines << Listing(*dialog) << QString();
    }
    return lines;
}

// 0 when the file holds the listing line for line; otherwise the first lines that differ, and 1.
int Check(const QStringList& lines, const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        std::fprintf(stderr, "bound_controls: cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QStringList expected = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    const QStringList actual = (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).split(QLatin1Char('\n'));
    int shown = 0;
    for (qsizetype line = 0; line < std::max(expected.size(), actual.size()) && shown < 10; ++line) {
        if (expected.value(line) == actual.value(line))
            continue;
        std::fprintf(stderr, "line %lld\n  expected: %s\n  built:    %s\n", static_cast<long long>(line + 1),
                     qPrintable(expected.value(line)), qPrintable(actual.value(line)));
        ++shown;
    }
    if (shown > 0) {
        std::fprintf(stderr,
                     "bound_controls: the dialogs differ from %s (rewrite it with bound_controls > FILE "
                     "once the change is meant)\n",
                     qPrintable(path));
        return 1;
    }
    std::printf("%lld lines as in %s\n", static_cast<long long>(lines.size()), qPrintable(path));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    const QStringList arguments = QApplication::arguments().mid(1);
    const bool check = arguments.size() == 2 && arguments[0] == QLatin1String("--check");
    if (!arguments.isEmpty() && !check) {
        std::fprintf(stderr, "usage: bound_controls [--check FILE]\n");
        return 2;
    }
    const QStringList lines = WholeListing();
    if (check)
        return Check(lines, arguments[1]);
    for (const QString& line : lines)
        std::printf("%s\n", line.toUtf8().constData());
    return 0;
}
