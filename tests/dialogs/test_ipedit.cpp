// The IP address edit offscreen: typing, the caret keys, focus and mouse, and its text in both directions.

#include "RecordingPrompts.h"
#include "TIPEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace olg;
using olg::testing::RecordingPrompts;

namespace {

QString L(const char* latin1) {
    return QString::fromLatin1(latin1);
}

// The edit between two line edits, so that the focus can come from and go elsewhere.
struct Fixture {
    Fixture() {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(before = new QLineEdit(&window));
        layout->addWidget(edit = new TIPEdit(&window, &prompts));
        layout->addWidget(after = new QLineEdit(&window));
        window.show();
        window.activateWindow();
    }
    // The four boxes as one dotted text, "10..1.5" for an empty second box.
    void SetBoxes(const QString& dotted) {
        for (int index = 0; index < 4; ++index)
            edit->Box(index)->setText(dotted.section(QLatin1Char('.'), index, index));
    }
    QString Boxes() const {
        QStringList texts;
        for (int index = 0; index < 4; ++index)
            texts.append(edit->Box(index)->text());
        return texts.join(QLatin1Char('.'));
    }
    int FocusedBox() const {
        for (int index = 0; index < 4; ++index)
            if (edit->Box(index)->hasFocus())
                return index;
        return -1;
    }
    // Characters are typed as they stand; {Name} is a named key.
    void Type(const QString& keys) {
        static const QHash<QString, Qt::Key> named{
            {L("Home"), Qt::Key_Home},   {L("End"), Qt::Key_End},        {L("Left"), Qt::Key_Left},
            {L("Right"), Qt::Key_Right}, {L("Back"), Qt::Key_Backspace}, {L("Pad"), Qt::Key_Period}};
        static const QRegularExpression token(L("\\{(\\w+)\\}|(.)"));
        for (const QRegularExpressionMatch& match : token.globalMatch(keys)) {
            QWidget* target = QApplication::focusWidget();
            if (match.captured(1).isEmpty())
                QTest::keyClick(target, match.captured(2).at(0).toLatin1());
            else
                QTest::keyClick(target, named.value(match.captured(1)),
                                match.captured(1) == L("Pad") ? Qt::KeypadModifier : Qt::NoModifier);
        }
    }

    RecordingPrompts prompts;
    QWidget window;
    QLineEdit* before;
    TIPEdit* edit;
    QLineEdit* after;
};

} // namespace

class TestIPEdit : public QObject {
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
    void text_data();
    void text();
    void mouse_data();
    void mouse();
    void focusEnabledAndChange();
};

void TestIPEdit::keys_data() {
    QTest::addColumn<QString>("initial");
    QTest::addColumn<int>("box");   // where the caret starts
    QTest::addColumn<int>("caret"); // -1: all of the box selected
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("boxes");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QString>("refused"); // the typed octet the range message names

    auto row = [](const char* name, const char* initial, int box, int caret, bool readOnly, const char* keys,
                  const char* boxes, int focus, int caretAfter, const char* selected, const char* refused) {
        QTest::newRow(name) << L(initial) << box << caret << readOnly << L(keys) << L(boxes) << focus
                            << caretAfter << L(selected) << L(refused);
    };
    row("three digits move on, next box selected", ".34..", 0, 0, false, "192", "192.34..", 1, 2, "34", "");
    row("two digits and a dot move on", ".34..", 0, 0, false, "12.", "12.34..", 1, 2, "34", "");
    row("space and keypad dot move on", "...", 0, 0, false, "1 2{Pad}3", "1.2.3.", 2, 1, "", "");
    row("dot in an empty box stays", "...", 1, 0, false, ".", "...", 1, 0, "", "");
    row("dot at the start of a box stays", "10.168.1.5", 1, 0, false, ".", "10.168.1.5", 1, 0, "", "");
    row("dot in the last box stays", "10.168.1.5", 3, 1, false, ".", "10.168.1.5", 3, 1, "", "");
    row("999 becomes 255 with the message", "...", 0, 0, false, "999", "255...", 0, 3, "255", "999");
    row("300 in the last box", "10.168.1.", 3, 0, false, "300", "10.168.1.255", 3, 3, "255", "300");
    row("letters and signs never reach a box", "...", 0, 0, false, "1a-+2", "12...", 0, 2, "", "");
    row("backspace at a box's start deletes the previous box's last digit", "10.168.1.5", 2, 0, false,
        "{Back}", "10.16.1.5", 1, 2, "", "");
    row("backspace inside a box", "10.168.1.5", 1, 2, false, "{Back}", "10.18.1.5", 1, 1, "", "");
    row("backspace at the first box's start", "10.168.1.5", 0, 0, false, "{Back}", "10.168.1.5", 0, 0, "",
        "");
    row("right at the end moves to the next box's start", "10.168.1.5", 0, 2, false, "{Right}", "10.168.1.5",
        1, 0, "", "");
    row("right inside a box", "10.168.1.5", 1, 1, false, "{Right}", "10.168.1.5", 1, 2, "", "");
    row("right at the end of the last box", "10.168.1.5", 3, 1, false, "{Right}", "10.168.1.5", 3, 1, "", "");
    row("left at the start moves to the previous box's end", "10.168.1.5", 2, 0, false, "{Left}",
        "10.168.1.5", 1, 3, "", "");
    row("left in a selected box stays", "10.168.1.5", 2, -1, false, "{Left}", "10.168.1.5", 2, 0, "", "");
    row("end", "10.168.1.5", 2, 0, false, "{End}", "10.168.1.5", 3, 1, "", "");
    row("home", "10.168.1.5", 2, 1, false, "{Home}", "10.168.1.5", 0, 0, "", "");
    row("read-only ignores the keys", "10.168.1.5", 0, 2, true, "{Right}{End}.7{Back}", "10.168.1.5", 0, 2,
        "", "");
    row("typing over a selected box", "10.168.1.5", 1, -1, false, "7", "10.7.1.5", 1, 1, "", "");
}

void TestIPEdit::keys() {
    QFETCH(QString, initial);
    QFETCH(int, box);
    QFETCH(int, caret);
    QFETCH(bool, readOnly);
    QFETCH(QString, keys);
    QFETCH(QString, refused);
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    fixture.SetBoxes(initial);
    fixture.edit->SetReadOnly(readOnly);
    QLineEdit* start = fixture.edit->Box(box);
    start->setFocus();
    if (caret < 0)
        start->selectAll();
    else
        start->setCursorPosition(caret);
    fixture.Type(keys);

    QTEST(fixture.Boxes(), "boxes");
    QTEST(fixture.FocusedBox(), "focus");
    QLineEdit* focused = fixture.edit->Box(std::max(fixture.FocusedBox(), 0));
    QTEST(focused->cursorPosition(), "caretAfter");
    QTEST(focused->selectedText(), "selected");
    const QStringList message{
        refused + L(" is not a valid entry. Please specify a value between 0 and 255 for this field.")};
    QCOMPARE(fixture.prompts.errors, refused.isEmpty() ? QStringList() : message);
}

void TestIPEdit::text_data() {
    QTest::addColumn<bool>("octal");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("write"); // null: nothing written
    QTest::addColumn<QString>("read");
    QTest::addColumn<QString>("boxes"); // after the read; the former boxes stay when a write is refused

    QTest::newRow("empty and leading zeros normalised")
        << false << L("192..01.5") << QString() << L("192.0.1.5") << L("192.0.1.5");
    QTest::newRow("octal kept as typed")
        << true << L("010..007.5") << QString() << L("010.0.007.5") << L("010.0.007.5");
    QTest::newRow("four empty boxes read empty") << false << L("...") << QString() << QString() << L("...");
    QTest::newRow("written address") << false << L("1.2.3.4") << L("10.0.0.1") << L("10.0.0.1")
                                     << L("10.0.0.1");
    QTest::newRow("written empty text") << false << L("1.2.3.4") << L("") << QString() << L("...");
    for (const char* bad : {"010.0.0.1", "10.0.0", "10.0.0.1.", "256.1.1.1", "1.2.3.x", " 1.2.3.4", "1..2.3"})
        QTest::newRow(bad) << false << L("1.2.3.4") << L(bad) << L("1.2.3.4") << L("1.2.3.4");
}

void TestIPEdit::text() {
    QFETCH(bool, octal);
    QFETCH(QString, initial);
    QFETCH(QString, write);
    QFETCH(QString, read);
    Fixture fixture;
    fixture.edit->SetAcceptOctal(octal);
    fixture.SetBoxes(initial);
    if (!write.isNull()) {
        try {
            fixture.edit->SetText(write);
            QCOMPARE(write, read);
        } catch (const std::invalid_argument& error) {
            QCOMPARE(QString::fromLatin1(error.what()), L("Bad IP address string given to component"));
            QVERIFY(write != read);
        }
    }
    QCOMPARE(fixture.edit->Text(), read);
    QTEST(fixture.Boxes(), "boxes");
}

void TestIPEdit::mouse_data() {
    QTest::addColumn<int>("dot"); // -1: the free area after the last box
    QTest::addColumn<int>("focus");
    QTest::newRow("dot 0") << 0 << 0;
    QTest::newRow("dot 1") << 1 << 1;
    QTest::newRow("dot 2") << 2 << 2;
    QTest::newRow("free area") << -1 << 3;
}

void TestIPEdit::mouse() {
    QFETCH(int, dot);
    QFETCH(int, focus);
    Fixture fixture;
    fixture.edit->setFixedWidth(300);
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    fixture.edit->SetText(L("192.168.10.200"));
    fixture.after->setFocus();
    const QRect last = fixture.edit->Box(3)->geometry();
    if (dot >= 0)
        QTest::mouseClick(fixture.edit->Dot(dot), Qt::LeftButton);
    else
        QTest::mouseClick(fixture.edit, Qt::LeftButton, {}, QPoint(last.right() + 6, last.center().y()));
    QCOMPARE(fixture.FocusedBox(), focus);
    QLineEdit* box = fixture.edit->Box(focus);
    QCOMPARE(box->cursorPosition(), box->text().size());
    QVERIFY(!box->hasSelectedText());
}

void TestIPEdit::focusEnabledAndChange() {
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    QSignalSpy changed(fixture.edit, &TIPEdit::Changed);
    fixture.edit->SetText(L("10.1.2.3"));
    QCOMPARE(changed.size(), 4);

    // Tab enters at the first box with its text selected; the other boxes are no tab stops.
    fixture.before->setFocus();
    QTest::keyClick(fixture.before, Qt::Key_Tab);
    QCOMPARE(fixture.FocusedBox(), 0);
    QCOMPARE(fixture.edit->Box(0)->selectedText(), L("10"));
    QTest::keyClick(fixture.edit->Box(0), Qt::Key_Tab);
    QVERIFY(fixture.after->hasFocus());
    QTest::keyClick(fixture.after, Qt::Key_Backtab);
    QCOMPARE(fixture.FocusedBox(), 0);

    // Leaving from another box leaves the first box selected.
    fixture.edit->Box(2)->setFocus();
    fixture.edit->Box(2)->setCursorPosition(0);
    fixture.after->setFocus();
    QTRY_COMPARE(fixture.edit->Box(0)->selectedText(), L("10"));

    fixture.edit->setEnabled(false);
    for (int index = 0; index < 4; ++index)
        QVERIFY(!fixture.edit->Box(index)->isEnabled() &&
                (index == 3 || !fixture.edit->Dot(index)->isEnabled()));
}

QTEST_MAIN(TestIPEdit)
#include "test_ipedit.moc"
