#include "TIPEdit.h"

#include "IPAddrUtils.h"
#include "Prompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QStyleOptionFrame>
#include <QTimer>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace olg {

namespace {

Prompts* defaultPrompts = nullptr;

constexpr int MaxOctet = 255;
constexpr int MinimumWidth = 100;

// A box shows its selection only while it has the focus: the first box stays selected for the next entry into
// the control without every address of a dialog showing a highlighted octet meanwhile.
void ShowSelection(QLineEdit* box, bool show) {
    QPalette palette = box->palette();
    const QPalette normal = box->parentWidget()->palette();
    palette.setBrush(QPalette::Highlight, show ? normal.highlight() : normal.base());
    palette.setBrush(QPalette::HighlightedText, show ? normal.highlightedText() : normal.text());
    box->setPalette(palette);
}

bool IsNextBoxKey(const QKeyEvent& key) {
    return key.key() == Qt::Key_Period || key.key() == Qt::Key_Space ||
           // The keypad's decimal key gives a comma on some layouts.
           (key.key() == Qt::Key_Comma && key.modifiers().testFlag(Qt::KeypadModifier));
}

} // namespace

TIPEdit::TIPEdit(QWidget* parent, Prompts* prompts) : QWidget(parent), prompts_(prompts) {
    auto* layout = new QHBoxLayout(this);
    layout->setSpacing(0);
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int index = 0; index < 4; ++index) {
        auto* box = new QLineEdit(this);
        box->setFrame(false);
        box->setAlignment(Qt::AlignCenter);
        box->setMaxLength(3);
        box->setValidator(digits);
        box->setProperty("tag", index);
        // Tab enters the control at its first box and leaves it from there.
        box->setFocusPolicy(index == 0 ? Qt::StrongFocus : Qt::ClickFocus);
        box->installEventFilter(this);
        ShowSelection(box, false);
        connect(box, &QLineEdit::textChanged, this, [this, index] { BoxChanged(index); });
        boxes_[static_cast<std::size_t>(index)] = box;
        layout->addWidget(box);
        if (index == 3)
            break;
        auto* dot = new QLabel(QStringLiteral("."), this);
        dot->setAlignment(Qt::AlignCenter);
        dot->setProperty("tag", index);
        dot->installEventFilter(this);
        dots_[static_cast<std::size_t>(index)] = dot;
        layout->addWidget(dot);
    }
    layout->addStretch(1);
    setFocusProxy(boxes_[0]);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::IBeamCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    FitBoxes();
}

void TIPEdit::SetDefaultPrompts(Prompts* prompts) {
    defaultPrompts = prompts;
}

Prompts* TIPEdit::EffectivePrompts() const {
    return prompts_ != nullptr ? prompts_ : defaultPrompts;
}

QLineEdit* TIPEdit::Box(int index) const {
    return boxes_.at(static_cast<std::size_t>(index));
}

QLabel* TIPEdit::Dot(int index) const {
    return dots_.at(static_cast<std::size_t>(index));
}

QString TIPEdit::Text() {
    return ReadText();
}

QString TIPEdit::ReadText() const {
    if (std::ranges::all_of(boxes_, [](const QLineEdit* box) { return box->text().isEmpty(); }))
        return {};
    QStringList octets;
    for (QLineEdit* box : boxes_) {
        QString octet = box->text();
        if (octet.isEmpty())
            octet = QStringLiteral("0");
        else if (!acceptOctal_)
            octet = QString::number(octet.toInt());
        if (octet != box->text()) {
            const bool wasSetting = std::exchange(settingText_, true);
            box->setText(octet);
            settingText_ = wasSetting;
        }
        octets.append(octet);
    }
    return octets.join(QLatin1Char('.'));
}

void TIPEdit::SetText(const QString& text) {
    std::array<QString, 4> octets;
    if (!text.isEmpty()) {
        const std::string dotted = text.toStdString();
        try {
            ValidateIPString(dotted);
        } catch (const IPStringError&) {
            throw std::invalid_argument("Bad IP address string given to component");
        }
        for (int n = 1; n <= 4; ++n)
            octets[static_cast<std::size_t>(n - 1)] = QString::number(GetIPOctet(dotted, n));
    }
    const bool wasSetting = std::exchange(settingText_, true);
    for (std::size_t index = 0; index < boxes_.size(); ++index)
        boxes_[index]->setText(octets[index]);
    settingText_ = wasSetting;
    if (!text.isEmpty())
        boxes_[0]->selectAll();
}

void TIPEdit::SetReadOnly(bool readOnly) {
    if (readOnly == readOnly_)
        return;
    readOnly_ = readOnly;
    for (QLineEdit* box : boxes_)
        box->setReadOnly(readOnly);
    update();
}

void TIPEdit::LoadValue(const ParamValue& value) {
    SetText(QString::fromStdString(binding::LoadIpText(value)));
}

void TIPEdit::StoreValue(ParamValue& value) const {
    binding::StoreIpText(value, ReadText().toStdString());
}

void TIPEdit::BoxChanged(int index) {
    QLineEdit* box = Box(index);
    const QString typed = box->text();
    if (!settingText_ && !typed.isEmpty() && typed.toInt() > MaxOctet) {
        {
            const QSignalBlocker quiet(box);
            box->setText(QString::number(MaxOctet));
        }
        box->selectAll();
        if (Prompts* prompts = EffectivePrompts()) {
            const QPointer<TIPEdit> self(this);
            prompts->ShowError(typed +
                               QStringLiteral(" is not a valid entry. Please specify a value between 0 "
                                              "and 255 for this field."));
            // The message box runs the event loop, which may have closed the dialog.
            if (self.isNull())
                return;
        }
    } else if (!settingText_ && index < 3 && typed.size() == 3 && box->cursorPosition() == 3 &&
               box->hasFocus()) {
        Focus(index + 1, 0, true);
    }
    emit Changed();
}

void TIPEdit::Focus(int index, int caret, bool selectAll) {
    QLineEdit* box = Box(index);
    box->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        box->selectAll();
    else
        box->setCursorPosition(caret < 0 ? static_cast<int>(box->text().size()) : caret);
}

bool TIPEdit::BoxKey(int index, const QKeyEvent& key) {
    QLineEdit* box = Box(index);
    const int caret = box->cursorPosition();
    const bool atStart = caret == 0 && !box->hasSelectedText();
    const bool atEnd = caret == box->text().size();
    switch (key.key()) {
    case Qt::Key_Home:
        Focus(0, 0);
        return true;
    case Qt::Key_End:
        Focus(3, -1);
        return true;
    case Qt::Key_Right:
        if (index < 3 && atEnd) {
            Focus(index + 1, 0);
            return true;
        }
        return false;
    case Qt::Key_Left:
        if (index > 0 && atStart) {
            Focus(index - 1, -1);
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        if (index > 0 && atStart) {
            QLineEdit* previous = Box(index - 1);
            Focus(index - 1, -1);
            if (!previous->text().isEmpty())
                previous->backspace();
            return true;
        }
        return false;
    default:
        if (IsNextBoxKey(key)) {
            if (index < 3 && !box->text().isEmpty() && caret != 0)
                Focus(index + 1, 0, true);
            return true; // never typed into a box
        }
        return false;
    }
}

bool TIPEdit::eventFilter(QObject* watched, QEvent* event) {
    const int index = watched->property("tag").toInt();
    if (auto* box = qobject_cast<QLineEdit*>(watched)) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const auto& key = static_cast<const QKeyEvent&>(*event);
            if (!readOnly_ && BoxKey(index, key))
                return true;
            // Only digits reach a box; control keys and shortcuts pass.
            const QString text = key.text();
            return !text.isEmpty() && text.at(0).isPrint() && !text.at(0).isDigit();
        }
        case QEvent::FocusIn:
            ShowSelection(box, true);
            if (index == 0 && static_cast<const QFocusEvent&>(*event).reason() != Qt::MouseFocusReason)
                box->selectAll();
            update();
            break;
        case QEvent::FocusOut: {
            ShowSelection(box, false);
            const Qt::FocusReason reason = static_cast<const QFocusEvent&>(*event).reason();
            update();
            if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason)
                break;
            // After the box has handled its own focus loss, which clears its selection.
            QTimer::singleShot(0, this, [this] {
                if (!isAncestorOf(QApplication::focusWidget()))
                    boxes_[0]->selectAll();
            });
            break;
        }
        default:
            break;
        }
        return false;
    }
    if (qobject_cast<QLabel*>(watched) != nullptr && event->type() == QEvent::MouseButtonPress) {
        Focus(index, -1);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TIPEdit::focusInEvent(QFocusEvent* event) {
    // Reached only when the focus proxy is bypassed; the first box takes the focus all the same.
    Focus(0, 0, true);
    QWidget::focusInEvent(event);
}

void TIPEdit::mousePressEvent(QMouseEvent* event) {
    // The free area behind the boxes: as a click after the end of the text.
    Focus(3, -1);
    event->accept();
}

void TIPEdit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        FitBoxes();
    QWidget::changeEvent(event);
}

void TIPEdit::paintEvent(QPaintEvent*) {
    // The frame and background of a line edit, so that the control looks like one field.
    QStyleOptionFrame option;
    option.initFrom(this);
    option.rect = rect();
    option.lineWidth = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    option.midLineWidth = 0;
    option.state |= QStyle::State_Sunken;
    if (readOnly_)
        option.state |= QStyle::State_ReadOnly;
    if (isAncestorOf(QApplication::focusWidget()))
        option.state |= QStyle::State_HasFocus;
    QPainter painter(this);
    style()->drawPrimitive(QStyle::PE_PanelLineEdit, &option, &painter, this);
}

void TIPEdit::FitBoxes() {
    QStyleOptionFrame option;
    option.initFrom(this);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    layout()->setContentsMargins(frame, frame, frame, frame);
    const QFontMetrics metrics = fontMetrics();
    // Three digits with the box's inner margins and the caret.
    const int boxWidth = metrics.horizontalAdvance(QStringLiteral("000")) + 8;
    for (QLineEdit* box : boxes_)
        box->setFixedWidth(boxWidth);
    for (QLabel* dot : dots_)
        dot->setFixedWidth(metrics.horizontalAdvance(QLatin1Char('.')) + 2);
    setMinimumWidth(MinimumWidth);
    updateGeometry();
}

} // namespace olg
