// Control tags and the load and store rule of every bindable control kind, over plain parameter values.

#include "ControlTag.h"

#include <QTest>

using namespace olg;

namespace {

// An invalid variant is the empty value, a byte array a text, anything else an integer.
ParamValue ToValue(const QVariant& variant) {
    if (!variant.isValid())
        return {};
    if (variant.typeId() == QMetaType::QByteArray)
        return ParamValue::Text(variant.toByteArray().toStdString());
    return ParamValue::Integer(variant.toLongLong());
}

QVariant FromValue(const ParamValue& value) {
    if (value.IsEmpty())
        return {};
    if (value.IsText())
        return QByteArray::fromStdString(value.AsText());
    return QVariant::fromValue<qlonglong>(value.AsInteger());
}

QVariant Number(qlonglong value) {
    return QVariant::fromValue(value);
}
QVariant Bytes(const char* text) {
    return QByteArray(text);
}

} // namespace

class TestControlTag : public QObject {
    Q_OBJECT

private slots:
    void rules_data();
    void rules();
};

void TestControlTag::rules_data() {
    // kind: edit, ip, spin, check, radio (plain) or masked. loaded: what the control shows for the value
    // (nothing when the value is empty, as the dialog never loads those). input: the control's state when
    // storing (checked, text or number); stored: the value afterwards.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<uint>("tag");
    QTest::addColumn<int>("id");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("loaded");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("stored");

    const QVariant empty;
    auto row = [](const char* name, const char* kind, uint tag, int id, const QVariant& value,
                  const QVariant& loaded, const QVariant& input, const QVariant& stored) {
        QTest::newRow(name) << QString::fromLatin1(kind) << tag << id << value << loaded << input << stored;
    };
    // The choice and bit kinds, on numbers.
    auto bits = [&row](const char* name, const char* kind, uint tag, int id, qlonglong value, bool loads,
                       bool checked, qlonglong stored) {
        row(name, kind, tag, id, Number(value), loads, checked, Number(stored));
    };

    row("edit: bytes both ways", "edit", 7, 7, Bytes("Caf\xE9 \x80"), Bytes("Caf\xE9 \x80"),
        Bytes("Bar \xFF"), Bytes("Bar \xFF"));
    row("edit: a number stays a number", "edit", 4, 4, Number(8080), Bytes("8080"), Bytes("81"), Number(81));
    row("edit: a number edited to letters", "edit", 4, 4, Number(8080), Bytes("8080"), Bytes("8o"),
        Bytes("8o"));
    row("edit: digits into a text stay a text", "edit", 7, 7, Bytes("name"), Bytes("name"), Bytes("42"),
        Bytes("42"));
    row("edit: into an empty value", "edit", 7, 7, empty, empty, Bytes("x"), Bytes("x"));
    row("ip: a is the top byte", "ip", 2, 2, Number(static_cast<qint32>(0xC0A80105u)), Bytes("192.168.1.5"),
        Bytes("10.0.0.1"), Number(0x0A000001));
    row("ip: all ones, held signed", "ip", 1, 1, Number(-1), Bytes("255.255.255.255"), Bytes("255.255.255.0"),
        Number(static_cast<qint32>(0xFFFFFF00u)));
    row("ip: the empty text stores 0", "ip", 3, 3, Number(0x01020304), Bytes("1.2.3.4"), Bytes(""),
        Number(0));
    row("spin", "spin", 4, 4, Number(80), Number(80), Number(65535), Number(65535));

    bits("check: bit 4 of 0x13, cleared gives 0x03", "check", 0x4006, 6, 0x13, true, false, 0x03);
    bits("check: bit 4 of 0x03, set gives 0x13", "check", 0x4006, 6, 0x03, false, true, 0x13);
    bits("check: other flags pass through", "check", 0x1006, 6, 0xED, false, true, 0xEF);
    bits("check: bit 8 never loads as checked", "check", 0x8006, 6, 0x1FF, false, true, 0x1FF);
    bits("check: bit 8 still stores", "check", 0x8006, 6, 0x1FF, false, false, 0xFF);
    bits("check: bit number modulo 32", "check", 0x21006, 6, 0x02, true, false, 0);
    bits("check: the 32-bit pattern kept", "check", 0x6, 6, -1, true, false, -2);
    row("check: into an empty value", "check", 0x6, 6, empty, empty, true, Number(1));

    bits("radio: value 2 within 0x03 replaces the whole value", "radio", 0x302046, 70, 0xFD, false, true, 2);
    bits("radio: the matching value loads checked", "radio", 0x302046, 70, 0x06, true, true, 2);
    bits("radio: unchecked stores nothing", "radio", 0x302046, 70, 0x06, true, false, 0x06);
    bits("radio: delay 5 within 0xFF", "radio", 0xFF05032, 50, 0x105, true, true, 5);
    bits("radio: a value no button has", "radio", 0xFF05032, 50, 20, false, false, 20);
    row("radio: unchecked into an empty value", "radio", 0xFF05032, 50, empty, empty, false, empty);
    bits("radio: without a mask a bit", "radio", 0x2046, 70, 0x04, true, false, 0);

    bits("masked: value 2 of the high byte turns 0x0155 into 0x0255", "masked", 0x10302050, 80, 0x0155, false,
         true, 0x0255);
    bits("masked: value 1 of the high byte loads from 0x0155", "masked", 0x10301050, 80, 0x0155, true, false,
         0x0155);
    bits("masked: second socket off, low byte", "masked", ControlTag::Choice(80, 0x08, 0x0C).Raw(), 80, 0x55,
         false, true, 0x59);
    bits("masked: sixth socket off leaves the others", "masked",
         ControlTag::Choice(80, 0x08, 0x0C, true).Raw(), 80, 0xFFFF, false, true, 0xFBFF);
    bits("masked: 16-bit operands", "masked", 0x10302050, 80, 0x12355, false, true, 0x2255);
    bits("masked: HTTPS access sets bit 7, flags pass", "masked", 0x8080006, 6, 0x13, false, true, 0x93);
    bits("masked: HTTP access clears bit 7, flags pass", "masked", 0x8000006, 6, 0x93, false, true, 0x13);
    bits("masked: unchecked stores nothing", "masked", 0x8000006, 6, 0x93, false, false, 0x93);
    bits("masked: without a mask a bit of the low byte", "masked", ControlTag::Bit(6, 3).Raw(), 6, 0x1F, true,
         false, 0x17);
}

void TestControlTag::rules() {
    QFETCH(QString, kind);
    QFETCH(uint, tag);
    QFETCH(QVariant, value);
    QTEST(ControlTag(tag).Id(), "id");
    QFETCH(QVariant, loaded);
    QFETCH(QVariant, input);
    QFETCH(QVariant, stored);
    const ControlTag control(tag);
    const ParamValue before = ToValue(value);
    ParamValue after = before;

    QVariant shown;
    if (kind == QStringLiteral("edit")) {
        shown = QByteArray::fromStdString(binding::LoadEditText(before));
        binding::StoreEditText(after, input.toByteArray().toStdString());
    } else if (kind == QStringLiteral("ip")) {
        shown = QByteArray::fromStdString(binding::LoadIpText(before));
        binding::StoreIpText(after, input.toByteArray().toStdString());
    } else if (kind == QStringLiteral("spin")) {
        shown = QVariant::fromValue<qlonglong>(binding::LoadSpinValue(before));
        binding::StoreSpinValue(after, input.toInt());
    } else if (kind == QStringLiteral("check")) {
        shown = binding::LoadCheckBox(before, control);
        binding::StoreCheckBox(after, control, input.toBool());
    } else if (kind == QStringLiteral("radio")) {
        shown = binding::LoadPlainRadio(before, control);
        binding::StorePlainRadio(after, control, input.toBool());
    } else {
        QCOMPARE(kind, QStringLiteral("masked"));
        shown = binding::LoadMaskedRadio(before, control);
        binding::StoreMaskedRadio(after, control, input.toBool());
    }
    if (loaded.isValid())
        QCOMPARE(shown, loaded);
    QCOMPARE(FromValue(after), stored);
}

QTEST_GUILESS_MAIN(TestControlTag)
#include "test_control_tag.moc"
