// A bound edit carries a device text through the dialog without losing a byte, whatever its length limit.

#include "BoundEdit.h"

#include <QTest>

using namespace olg;

class TestBoundEdit : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
};

void TestBoundEdit::roundTrip_data() {
    QTest::addColumn<QByteArray>("device");
    QTest::addColumn<QString>("typed"); // null: left alone; typed over the whole text otherwise
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QByteArray>("stored");
    QTest::addColumn<bool>(
        "amended"); // a change handler puts a slash in front, as the hidden page's URL does

    const QByteArray longText = QByteArray("0123456789abcdefghijklmnopqrstuvwxyzABCD");
    QTest::newRow("longer than the limit, untouched")
        << longText << QString() << QString::fromLatin1(longText.left(32)) << longText << false;
    QTest::newRow("longer than the limit, retyped")
        << longText << QStringLiteral("new name") << QStringLiteral("new name") << QByteArray("new name")
        << false;
    QTest::newRow("every high byte, untouched")
        << QByteArray("\x80\x81\x8D\x9F\xA0\xE9\xFF") << QString()
        << QStringLiteral("\u20AC\u0081\u008D\u0178\u00A0\u00E9\u00FF")
        << QByteArray("\x80\x81\x8D\x9F\xA0\xE9\xFF") << false;
    QTest::newRow("a NUL byte, untouched")
        << QByteArray("a\0b", 3) << QString() << QStringLiteral("a\u0000b") << QByteArray("a\0b", 3) << false;
    QTest::newRow("typed euro sign encoded") << QByteArray("x") << QStringLiteral("5\u20AC")
                                             << QStringLiteral("5\u20AC") << QByteArray("5\x80") << false;
    QTest::newRow("a character outside the code page is refused")
        << QByteArray("x") << QStringLiteral("a\u03A9b") << QStringLiteral("ab") << QByteArray("ab") << false;
    QTest::newRow("amended while loading")
        << QByteArray("index.htm") << QString() << QStringLiteral("/index.htm") << QByteArray("/index.htm")
        << true;
}

void TestBoundEdit::roundTrip() {
    QFETCH(QByteArray, device);
    QFETCH(QString, typed);
    BoundEdit edit;
    edit.setMaxLength(32);
    edit.SetTag(ControlTag(7));
    edit.show();
    QFETCH(bool, amended);
    if (amended)
        QObject::connect(&edit, &QLineEdit::textChanged, &edit, [&edit](const QString& text) {
            if (!text.startsWith(QLatin1Char('/')))
                edit.setText(QLatin1Char('/') + text);
        });
    edit.LoadValue(ParamValue::Text(device.toStdString()));
    if (!typed.isNull()) {
        edit.selectAll();
        // QTest's own key clicks know ASCII only.
        for (const QChar character : typed)
            QTest::sendKeyEvent(QTest::Click, &edit, Qt::Key_unknown, QString(character), Qt::NoModifier);
    }
    QTEST(edit.text(), "shown");
    ParamValue value = ParamValue::Text("before");
    edit.StoreValue(value);
    QTEST(QByteArray::fromStdString(value.AsText()), "stored");
}

QTEST_MAIN(TestBoundEdit)
#include "test_bound_edit.moc"
