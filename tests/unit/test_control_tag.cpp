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
    void fields_data();
    void fields();
    void rules_data();
    void rules();
};

void TestControlTag::fields_data() {
    QTest::addColumn<uint>("raw");
    QTest::addColumn<uint>("built");
    QTest::addColumn<int>("id");
    QTest::addColumn<uint>("v");
    QTest::addColumn<uint>("m");
    QTest::addColumn<bool>("h");
    QTest::newRow("DHCP bit") << 0x4006u << ControlTag::Bit(6, 4).Raw() << 6 << 4u << 0u << false;
    QTest::newRow("power up value") << 0x302046u << ControlTag::Choice(70, 2, 0x03).Raw() << 70 << 2u << 3u
                                    << false;
    QTest::newRow("delay value") << 0xFF05032u << ControlTag::Choice(50, 5, 0xFF).Raw() << 50 << 5u << 0xFFu
                                 << false;
    QTest::newRow("high byte") << 0x10301050u << ControlTag::Choice(80, 1, 0x03, true).Raw() << 80 << 1u << 3u
                               << true;
    QTest::newRow("highest id") << 0x3E7u << ControlTag::Bit(999, 0).Raw() << 999 << 0u << 0u << false;
}

void TestControlTag::fields() {
    QFETCH(uint, raw);
    QFETCH(uint, built);
    const ControlTag tag(raw);
    QCOMPARE(built, raw);
    QTEST(tag.Id(), "id");
    QTEST(tag.V(), "v");
    QTEST(tag.M(), "m");
    QTEST(tag.H(), "h");
}

void TestControlTag::rules_data() {
    // kind: edit, ip, spin, check, radio (plain) or masked. loaded: what the control shows for the value
    // (nothing when the value is empty, as the dialog never loads those). input: the control's state when
    // storing (checked, text or number); stored: the value afterwards.
    QTest::addColumn<QString>("kind");
    QTest::addColumn<uint>("tag");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("loaded");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("stored");

    const QString edit = QStringLiteral("edit"), ip = QStringLiteral("ip"), spin = QStringLiteral("spin"),
                  check = QStringLiteral("check"), radio = QStringLiteral("radio"),
                  masked = QStringLiteral("masked");
    const QVariant empty;

    QTest::newRow("edit: bytes both ways") << edit << 7u << Bytes("Caf\xE9 \x80") << Bytes("Caf\xE9 \x80")
                                           << Bytes("Bar \xFF") << Bytes("Bar \xFF");
    QTest::newRow("edit: number shown as text, stays a number")
        << edit << 4u << Number(8080) << Bytes("8080") << Bytes("81") << Number(81);
    QTest::newRow("edit: number edited to letters becomes a text")
        << edit << 4u << Number(8080) << Bytes("8080") << Bytes("8o") << Bytes("8o");
    QTest::newRow("edit: digits into a text stay a text")
        << edit << 7u << Bytes("name") << Bytes("name") << Bytes("42") << Bytes("42");
    QTest::newRow("edit: into an empty value") << edit << 7u << empty << empty << Bytes("x") << Bytes("x");

    QTest::newRow("ip: dotted, a is the top byte")
        << ip << 2u << Number(static_cast<qint32>(0xC0A80105u)) << Bytes("192.168.1.5") << Bytes("10.0.0.1")
        << Number(0x0A000001);
    QTest::newRow("ip: all ones, held signed")
        << ip << 1u << Number(-1) << Bytes("255.255.255.255") << Bytes("255.255.255.0")
        << Number(static_cast<qint32>(0xFFFFFF00u));
    QTest::newRow("ip: empty text stores 0")
        << ip << 3u << Number(0x01020304) << Bytes("1.2.3.4") << Bytes("") << Number(0);

    QTest::newRow("spin") << spin << 4u << Number(80) << Number(80) << Number(65535) << Number(65535);

    QTest::newRow("check: bit 4 of 0x13 checked, cleared gives 0x03")
        << check << 0x4006u << Number(0x13) << QVariant(true) << QVariant(false) << Number(0x03);
    QTest::newRow("check: bit 4 of 0x03 unchecked, set gives 0x13")
        << check << 0x4006u << Number(0x03) << QVariant(false) << QVariant(true) << Number(0x13);
    QTest::newRow("check: other flags pass through")
        << check << 0x1006u << Number(0xED) << QVariant(false) << QVariant(true) << Number(0xEF);
    QTest::newRow("check: bit 8 never loads as checked")
        << check << 0x8006u << Number(0x1FF) << QVariant(false) << QVariant(true) << Number(0x1FF);
    QTest::newRow("check: bit 8 still stores")
        << check << 0x8006u << Number(0x1FF) << QVariant(false) << QVariant(false) << Number(0xFF);
    QTest::newRow("check: bit number modulo 32")
        << check << 0x21006u << Number(0x02) << QVariant(true) << QVariant(false) << Number(0);
    QTest::newRow("check: 32-bit pattern kept")
        << check << 0x6u << Number(-1) << QVariant(true) << QVariant(false) << Number(-2);
    QTest::newRow("check: into an empty value")
        << check << 0x6u << empty << empty << QVariant(true) << Number(1);

    QTest::newRow("radio: value 2 within 0x03 replaces the whole value")
        << radio << 0x302046u << Number(0xFD) << QVariant(false) << QVariant(true) << Number(2);
    QTest::newRow("radio: matching value loads checked")
        << radio << 0x302046u << Number(0x06) << QVariant(true) << QVariant(true) << Number(2);
    QTest::newRow("radio: unchecked stores nothing")
        << radio << 0x302046u << Number(0x06) << QVariant(true) << QVariant(false) << Number(0x06);
    QTest::newRow("radio: delay 5 of 0xFF")
        << radio << 0xFF05032u << Number(0x105) << QVariant(true) << QVariant(true) << Number(5);
    QTest::newRow("radio: a value no button has")
        << radio << 0xFF05032u << Number(20) << QVariant(false) << QVariant(false) << Number(20);
    QTest::newRow("radio: unchecked into an empty value stays empty")
        << radio << 0xFF05032u << empty << empty << QVariant(false) << empty;
    QTest::newRow("radio: without a mask a bit")
        << radio << 0x2046u << Number(0x04) << QVariant(true) << QVariant(false) << Number(0);

    QTest::newRow("masked: high byte value 2 turns 0x0155 into 0x0255")
        << masked << 0x10302050u << Number(0x0155) << QVariant(false) << QVariant(true) << Number(0x0255);
    QTest::newRow("masked: high byte value 1 loads from 0x0155")
        << masked << 0x10301050u << Number(0x0155) << QVariant(true) << QVariant(false) << Number(0x0155);
    QTest::newRow("masked: second socket off in the low byte")
        << masked << ControlTag::Choice(80, 0x08, 0x0C).Raw() << Number(0x55) << QVariant(false)
        << QVariant(true) << Number(0x59);
    QTest::newRow("masked: sixth socket off leaves the others")
        << masked << ControlTag::Choice(80, 0x08, 0x0C, true).Raw() << Number(0xFFFF) << QVariant(false)
        << QVariant(true) << Number(0xFBFF);
    QTest::newRow("masked: 16-bit operands")
        << masked << 0x10302050u << Number(0x12355) << QVariant(false) << QVariant(true) << Number(0x2255);
    QTest::newRow("masked: HTTPS access sets bit 7, flags pass through")
        << masked << 0x8080006u << Number(0x13) << QVariant(false) << QVariant(true) << Number(0x93);
    QTest::newRow("masked: HTTP access clears bit 7, flags pass through")
        << masked << 0x8000006u << Number(0x93) << QVariant(false) << QVariant(true) << Number(0x13);
    QTest::newRow("masked: unchecked stores nothing")
        << masked << 0x8000006u << Number(0x93) << QVariant(false) << QVariant(false) << Number(0x93);
    QTest::newRow("masked: without a mask a bit of the low byte")
        << masked << 0x3006u << Number(0x1F) << QVariant(true) << QVariant(false) << Number(0x17);
}

void TestControlTag::rules() {
    QFETCH(QString, kind);
    QFETCH(uint, tag);
    QFETCH(QVariant, value);
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
