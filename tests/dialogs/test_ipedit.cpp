// The IP address edit offscreen: typing, the caret keys, focus and mouse, and its text in both directions.

#include "RecordingPrompts.h"
#include "TIPEdit.h"

#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

using namespace olg;
using olg::testing::RecordingPrompts;

namespace {

const QString RangeMessage =
    QStringLiteral(" is not a valid entry. Please specify a value between 0 and 255 for this field.");

// A window holding the edit between two plain line edits, so that focus can come from and go elsewhere.
struct Fixture {
    Fixture() {
        auto* layout = new QVBoxLayout(&window);
        before = new QLineEdit(&window);
        edit = new TIPEdit(&window, &prompts);
        after = new QLineEdit(&window);
        layout->addWidget(before);
        layout->addWidget(edit);
        layout->addWidget(after);
        window.show();
        window.activateWindow();
    }
    void SetBoxes(const QStringList& texts) {
        for (int index = 0; index < 4; ++index)
            edit->Box(index)->setText(texts.value(index));
    }
    QStringList Boxes() const {
        QStringList texts;
        for (int index = 0; index < 4; ++index)
            texts.append(edit->Box(index)->text());
        return texts;
    }
    int FocusedBox() const {
        for (int index = 0; index < 4; ++index)
            if (edit->Box(index)->hasFocus())
                return index;
        return -1;
    }
    // Characters are typed as they stand; {Name} is a named key.
    void Type(const QString& keys) {
        static const QHash<QString, std::pair<Qt::Key, Qt::KeyboardModifiers>> named{
            {QStringLiteral("Home"), {Qt::Key_Home, {}}},
            {QStringLiteral("End"), {Qt::Key_End, {}}},
            {QStringLiteral("Left"), {Qt::Key_Left, {}}},
            {QStringLiteral("Right"), {Qt::Key_Right, {}}},
            {QStringLiteral("Back"), {Qt::Key_Backspace, {}}},
            {QStringLiteral("KeypadDot"), {Qt::Key_Period, Qt::KeypadModifier}},
        };
        static const QRegularExpression token(QStringLiteral("\\{(\\w+)\\}|(.)"));
        for (const QRegularExpressionMatch& match : token.globalMatch(keys)) {
            QWidget* target = QApplication::focusWidget();
            QVERIFY(target != nullptr);
            if (match.captured(1).isEmpty()) {
                QTest::keyClick(target, match.captured(2).at(0).toLatin1());
            } else {
                const auto key = named.value(match.captured(1));
                QTest::keyClick(target, key.first, key.second);
            }
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
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<int>("box");   // where the caret starts
    QTest::addColumn<int>("caret"); // -1: all of the box selected
    QTest::addColumn<bool>("readOnly");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("focus");
    QTest::addColumn<int>("caretAfter");
    QTest::addColumn<QString>("selected");
    QTest::addColumn<QStringList>("messages");

    const QStringList empty{QString(), QString(), QString(), QString()};
    const QStringList address{QStringLiteral("10"), QStringLiteral("168"), QStringLiteral("1"),
                              QStringLiteral("5")};
    const QStringList none;
    auto with = [](QStringList list, int index, const QString& text) {
        list[index] = text;
        return list;
    };

    QTest::newRow("three digits move on, next box selected")
        << with(empty, 1, QStringLiteral("34")) << 0 << 0 << false << QStringLiteral("192")
        << with(with(empty, 0, QStringLiteral("192")), 1, QStringLiteral("34")) << 1 << 2
        << QStringLiteral("34") << none;
    QTest::newRow("two digits then dot move on")
        << with(empty, 1, QStringLiteral("34")) << 0 << 0 << false << QStringLiteral("12.")
        << with(with(empty, 0, QStringLiteral("12")), 1, QStringLiteral("34")) << 1 << 2
        << QStringLiteral("34") << none;
    QTest::newRow("space and keypad dot move on as well")
        << empty << 0 << 0 << false << QStringLiteral("1 2{KeypadDot}3")
        << QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()} << 2 << 1
        << QString() << none;
    QTest::newRow("dot in an empty box stays")
        << empty << 1 << 0 << false << QStringLiteral(".") << empty << 1 << 0 << QString() << none;
    QTest::newRow("dot at the start of a box stays")
        << address << 1 << 0 << false << QStringLiteral(".") << address << 1 << 0 << QString() << none;
    QTest::newRow("dot in the last box stays")
        << address << 3 << 1 << false << QStringLiteral(".") << address << 3 << 1 << QString() << none;
    QTest::newRow("999 becomes 255 with the message")
        << empty << 0 << 0 << false << QStringLiteral("999") << with(empty, 0, QStringLiteral("255")) << 0
        << 3 << QStringLiteral("255") << QStringList{QStringLiteral("999") + RangeMessage};
    QTest::newRow("300 in the last box")
        << with(address, 3, QString()) << 3 << 0 << false << QStringLiteral("300")
        << with(address, 3, QStringLiteral("255")) << 3 << 3 << QStringLiteral("255")
        << QStringList{QStringLiteral("300") + RangeMessage};
    QTest::newRow("letters and signs never reach a box")
        << empty << 0 << 0 << false << QStringLiteral("1a-+2") << with(empty, 0, QStringLiteral("12")) << 0
        << 2 << QString() << none;
    QTest::newRow("backspace at the start deletes the previous box's last digit")
        << address << 2 << 0 << false << QStringLiteral("{Back}") << with(address, 1, QStringLiteral("16"))
        << 1 << 2 << QString() << none;
    QTest::newRow("backspace inside a box stays in it")
        << address << 1 << 2 << false << QStringLiteral("{Back}") << with(address, 1, QStringLiteral("18"))
        << 1 << 1 << QString() << none;
    QTest::newRow("backspace at the start of the first box")
        << address << 0 << 0 << false << QStringLiteral("{Back}") << address << 0 << 0 << QString() << none;
    QTest::newRow("right at the end moves to the next box's start")
        << address << 0 << 2 << false << QStringLiteral("{Right}") << address << 1 << 0 << QString() << none;
    QTest::newRow("right inside a box moves the caret")
        << address << 1 << 1 << false << QStringLiteral("{Right}") << address << 1 << 2 << QString() << none;
    QTest::newRow("right at the end of the last box stays")
        << address << 3 << 1 << false << QStringLiteral("{Right}") << address << 3 << 1 << QString() << none;
    QTest::newRow("left at the start moves to the previous box's end")
        << address << 2 << 0 << false << QStringLiteral("{Left}") << address << 1 << 3 << QString() << none;
    QTest::newRow("left with the box selected stays in it")
        << address << 2 << -1 << false << QStringLiteral("{Left}") << address << 2 << 0 << QString() << none;
    QTest::newRow("end") << address << 2 << 0 << false << QStringLiteral("{End}") << address << 3 << 1
                         << QString() << none;
    QTest::newRow("home") << address << 2 << 1 << false << QStringLiteral("{Home}") << address << 0 << 0
                          << QString() << none;
    QTest::newRow("read-only ignores the caret keys")
        << address << 0 << 2 << true << QStringLiteral("{Right}{End}.7{Back}") << address << 0 << 2
        << QString() << none;
    QTest::newRow("typing into a selected box replaces it")
        << address << 1 << -1 << false << QStringLiteral("7") << with(address, 1, QStringLiteral("7")) << 1
        << 1 << QString() << none;
}

void TestIPEdit::keys() {
    QFETCH(QStringList, initial);
    QFETCH(int, box);
    QFETCH(int, caret);
    QFETCH(bool, readOnly);
    QFETCH(QString, keys);
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
    QTEST(fixture.prompts.errors, "messages");
}

void TestIPEdit::text_data() {
    QTest::addColumn<bool>("octal");
    QTest::addColumn<QStringList>("initial");
    QTest::addColumn<QString>("write"); // null: nothing written
    QTest::addColumn<bool>("refused");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QStringList>("boxes");

    const QStringList shown{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                            QStringLiteral("4")};
    QTest::newRow("empty and leading zeros normalised")
        << false << QStringList{QStringLiteral("192"), QString(), QStringLiteral("01"), QStringLiteral("5")}
        << QString() << false << QStringLiteral("192.0.1.5")
        << QStringList{QStringLiteral("192"), QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("5")};
    QTest::newRow("octal kept as typed")
        << true << QStringList{QStringLiteral("010"), QString(), QStringLiteral("007"), QStringLiteral("5")}
        << QString() << false << QStringLiteral("010.0.007.5")
        << QStringList{QStringLiteral("010"), QStringLiteral("0"), QStringLiteral("007"),
                       QStringLiteral("5")};
    QTest::newRow("four empty boxes read empty") << false << QStringList() << QString() << false << QString()
                                                 << QStringList{QString(), QString(), QString(), QString()};
    QTest::newRow("written address") << false << shown << QStringLiteral("10.0.0.1") << false
                                     << QStringLiteral("10.0.0.1")
                                     << QStringList{QStringLiteral("10"), QStringLiteral("0"),
                                                    QStringLiteral("0"), QStringLiteral("1")};
    QTest::newRow("written empty text") << false << shown << QStringLiteral("") << false << QString()
                                        << QStringList{QString(), QString(), QString(), QString()};
    for (const char* bad : {"010.0.0.1", "10.0.0", "10.0.0.1.", "256.1.1.1", "1.2.3.x", " 1.2.3.4", "1..2.3"})
        QTest::newRow(bad) << false << shown << QString::fromLatin1(bad) << true << QStringLiteral("1.2.3.4")
                           << shown;
}

void TestIPEdit::text() {
    QFETCH(bool, octal);
    QFETCH(QStringList, initial);
    QFETCH(QString, write);
    QFETCH(bool, refused);
    TIPEdit edit;
    edit.SetAcceptOctal(octal);
    for (int index = 0; index < 4; ++index)
        edit.Box(index)->setText(initial.value(index));
    if (!write.isNull()) {
        try {
            edit.SetText(write);
            QVERIFY(!refused);
        } catch (const std::invalid_argument& error) {
            QVERIFY(refused);
            QCOMPARE(QString::fromLatin1(error.what()),
                     QStringLiteral("Bad IP address string given to component"));
        }
    }
    QTEST(edit.Text(), "read");
    QStringList boxes;
    for (int index = 0; index < 4; ++index)
        boxes.append(edit.Box(index)->text());
    QTEST(boxes, "boxes");
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
    fixture.edit->SetText(QStringLiteral("192.168.10.200"));
    fixture.after->setFocus();
    if (dot >= 0) {
        QTest::mouseClick(fixture.edit->Dot(dot), Qt::LeftButton);
    } else {
        const QRect last = fixture.edit->Box(3)->geometry();
        QVERIFY(last.right() + 10 < fixture.edit->width());
        QTest::mouseClick(fixture.edit, Qt::LeftButton, {}, QPoint(last.right() + 6, last.center().y()));
    }
    QCOMPARE(fixture.FocusedBox(), focus);
    QLineEdit* box = fixture.edit->Box(focus);
    QCOMPARE(box->cursorPosition(), box->text().size());
    QVERIFY(!box->hasSelectedText());
}

void TestIPEdit::focusEnabledAndChange() {
    Fixture fixture;
    QVERIFY(QTest::qWaitForWindowActive(&fixture.window));
    QSignalSpy changed(fixture.edit, &TIPEdit::Changed);
    fixture.edit->SetText(QStringLiteral("10.1.2.3"));
    QCOMPARE(changed.size(), 4);

    // Tab enters at the first box with its text selected; the other boxes are no tab stops.
    fixture.before->setFocus();
    QTest::keyClick(fixture.before, Qt::Key_Tab);
    QCOMPARE(fixture.FocusedBox(), 0);
    QCOMPARE(fixture.edit->Box(0)->selectedText(), QStringLiteral("10"));
    QTest::keyClick(fixture.edit->Box(0), Qt::Key_Tab);
    QVERIFY(fixture.after->hasFocus());
    QTest::keyClick(fixture.after, Qt::Key_Backtab);
    QCOMPARE(fixture.FocusedBox(), 0);

    // Leaving from another box leaves the first box selected.
    fixture.edit->Box(2)->setFocus();
    fixture.edit->Box(2)->setCursorPosition(0);
    fixture.after->setFocus();
    QTRY_COMPARE(fixture.edit->Box(0)->selectedText(), QStringLiteral("10"));

    fixture.edit->setEnabled(false);
    for (int index = 0; index < 4; ++index)
        QVERIFY(!fixture.edit->Box(index)->isEnabled());
    for (int index = 0; index < 3; ++index)
        QVERIFY(!fixture.edit->Dot(index)->isEnabled());
}

QTEST_MAIN(TestIPEdit)
#include "test_ipedit.moc"
