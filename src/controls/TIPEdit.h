#pragma once

#include "BoundControl.h"

#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;

namespace olg {

class Prompts;

// An IPv4 address as four decimal octet boxes separated by dots. It filters and checks each octet as it is
// typed, moves the caret between the boxes as if they were one field, and normalises the octets when its
// text is read. Bound to a parameter, it shows the value as a dotted address.
class TIPEdit : public QWidget, public BoundControl {
    Q_OBJECT
    Q_PROPERTY(uint tag READ RawTag WRITE SetRawTag)
    Q_PROPERTY(bool acceptOctal READ AcceptOctal WRITE SetAcceptOctal)
    Q_PROPERTY(bool readOnly READ ReadOnly WRITE SetReadOnly)

public:
    // The message for an octet above 255 goes through the prompts; without any, the control uses the
    // program-wide prompts (see SetDefaultPrompts).
    explicit TIPEdit(QWidget* parent = nullptr, Prompts* prompts = nullptr);

    // Where controls built by Qt Designer forms, which cannot pass prompts, send their messages: their own
    // prompts once set, else the program-wide default. Without either the octet is still clamped.
    void SetPrompts(Prompts* prompts) { prompts_ = prompts; }
    bool HasPrompts() const { return prompts_ != nullptr; }
    static void SetDefaultPrompts(Prompts* prompts);

    // The dotted address, or the empty text when all four boxes are empty; reading normalises the boxes.
    QString Text();
    // Shows an address; an invalid text throws std::invalid_argument("Bad IP address string given to
    // component") and the boxes keep what they held.
    void SetText(const QString& text);

    bool AcceptOctal() const { return acceptOctal_; }
    void SetAcceptOctal(bool accept) { acceptOctal_ = accept; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly);

    // The octet box i (0..3) and the dot i (0..2), for layout checks and tests.
    QLineEdit* Box(int index) const;
    QLabel* Dot(int index) const;

    void LoadValue(const ParamValue& value) override;
    void StoreValue(ParamValue& value) const override;

    uint RawTag() const { return Tag().Raw(); }
    void SetRawTag(uint raw) { SetTag(ControlTag(raw)); }

signals:
    // After every change of any box, also when the control itself changes a box.
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QString ReadText() const;
    void BoxChanged(int index);
    bool BoxKey(int index, const QKeyEvent& key);
    void Focus(int index, int caret, bool selectAll = false);
    void FitBoxes();
    Prompts* EffectivePrompts() const;

    Prompts* prompts_;
    std::array<QLineEdit*, 4> boxes_{};
    std::array<QLabel*, 3> dots_{};
    bool acceptOctal_ = false;
    bool readOnly_ = false;
    // While the control writes its boxes itself, a full box does not move the focus on.
    mutable bool settingText_ = false;
};

} // namespace olg
