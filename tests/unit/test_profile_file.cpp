// The Windows profile-file rules, against files written the way Windows tools write (and users edit) them,
// and the configurations loaded from them.

#include "ConfigProfile.h"
#include "ParamDescriptor.h"
#include "ProfileFile.h"

#include <QTest>

using namespace olg;

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void rewrite_data();
    void rewrite();
    void load_data();
    void load();
};

void TestProfileFile::read_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value"); // null: not found

    // clang-format off
    QTest::newRow("any case, blanks trimmed")   << QByteArray("OLG1N") << QByteArray("NAME")    << QByteArray("Lobby rack");
    QTest::newRow("double quotes stripped")     << QByteArray("olg1n") << QByteArray("7")       << QByteArray("  padded  ");
    QTest::newRow("single quotes stripped")     << QByteArray("olg1n") << QByteArray("8")       << QByteArray("single");
    QTest::newRow("accented letters keep case") << QByteArray("olg1n") << QByteArray("CAF\xc9") << QByteArray();
    QTest::newRow("key without = has no value") << QByteArray("olg1n") << QByteArray("flag")    << QByteArray();
    QTest::newRow("CR alone ends a line")       << QByteArray("olg1n") << QByteArray("cr")      << QByteArray("alone");
    QTest::newRow("section name blanks")        << QByteArray("other") << QByteArray("x")       << QByteArray("1");
    QTest::newRow("first section wins")         << QByteArray("olg1n") << QByteArray("late")    << QByteArray();
    QTest::newRow("missing section")            << QByteArray("olg8w") << QByteArray("1")       << QByteArray();
    QTest::newRow("last line without line end") << QByteArray("tail")  << QByteArray("last")    << QByteArray("end");
    // clang-format on
}

void TestProfileFile::read() {
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    // Mixed case, blanks, quotes, a comment, a second section of the same name, a key without "=" before one
    // with it, LF-only and CR-only lines among CR LF ones, Windows-1252 bytes and no final line end.
    const QByteArray file =
        "; saved by hand\r\n[Olg1N]\r\n  Name =  Lobby rack  \r\n7=\"  padded  \"\n8='single'\rcr=alone\r\n"
        "caf\xe9=\xe9t\xe9\r\nflag\r\nflag=1\r\n\r\n[ other ]\nx=1\n[olg1n]\r\nlate=2\r\n[tail]\nlast=end";
    const std::optional<std::string> read = ProfileFile(View(file)).ReadString(View(section), View(key));
    QCOMPARE(read.has_value(), !value.isNull());
    QCOMPARE(QByteArray::fromStdString(read.value_or(std::string())), value);
}

void TestProfileFile::rewrite_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after"); // empty: refused, file unchanged

    const QByteArray top = "; top\r\n[A]\r\n";
    const QByteArray rest = "; note\r\n\r\n[B]\r\ny=2\r\n";
    // clang-format off
    QTest::newRow("replaced in place, key keeps its spelling") << QByteArray("a")     << QByteArray("K")  << QByteArray("new")  << top + "k=new\r\n" + rest;
    QTest::newRow("appended after the section's last line")    << QByteArray("A")     << QByteArray("13") << QByteArray("1")    << top + "k = old \r\n; note\r\n13=1\r\n\r\n[B]\r\ny=2\r\n";
    QTest::newRow("missing section appended at the end")       << QByteArray("olg8w") << QByteArray("1")  << QByteArray("0.0.0.0") << top + "k = old \r\n" + rest + "[olg8w]\r\n1=0.0.0.0\r\n";
    QTest::newRow("blanks at the ends kept inside quotes")     << QByteArray("A")     << QByteArray("k")  << QByteArray(" x\t") << top + "k=\" x\t\"\r\n" + rest;
    QTest::newRow("quotes kept inside quotes")                 << QByteArray("A")     << QByteArray("k")  << QByteArray("'x'")  << top + "k=\"'x'\"\r\n" + rest;
    QTest::newRow("CR refused")                                << QByteArray("A")     << QByteArray("k")  << QByteArray("a\rb") << QByteArray();
    QTest::newRow("NUL refused")                               << QByteArray("A")     << QByteArray("k")  << QByteArray("\0", 1) << QByteArray();
    QTest::newRow("LF in the section refused")                 << QByteArray("A\n")   << QByteArray("k")  << QByteArray("v")    << QByteArray();
    // clang-format on
}

void TestProfileFile::rewrite() {
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    // LF-only and without a final line end; whatever is rewritten ends every line with CR LF.
    ProfileFile file(View("; top\n[A]\nk = old \n; note\n\n[B]\ny=2"));
    QCOMPARE(file.WriteString(View(section), View(key), View(value)), !after.isEmpty());
    QCOMPARE(QByteArray::fromStdString(file.Bytes()),
             after.isEmpty() ? "; top\r\n[A]\r\nk = old \r\n; note\r\n\r\n[B]\r\ny=2\r\n" : after);
    if (!after.isEmpty())
        QCOMPARE(
            QByteArray::fromStdString(ProfileFile(file.Bytes()).ReadString(View(section), View(key)).value()),
            value);
}

void TestProfileFile::load_data() {
    QTest::addColumn<QByteArray>("lines"); // before the file's own lines: the first of equal keys wins
    QTest::addColumn<bool>("strict");
    QTest::addColumn<int>("id");
    QTest::addColumn<QByteArray>("value"); // the loaded value as text; null: the load refuses the id

    // clang-format off
    QTest::newRow("32-bit minimum")           << QByteArray("71=-2147483648") << false << 71 << QByteArray("-2147483648");
    QTest::newRow("32 bits written unsigned") << QByteArray("71=4294967295")  << false << 71 << QByteArray("-1");
    QTest::newRow("single quotes")            << QByteArray("7='Hall'")       << false << 7  << QByteArray("Hall");
    QTest::newRow("16 bits out of range")     << QByteArray("22=65536")       << false << 22 << QByteArray();
    QTest::newRow("negative 8 bits")          << QByteArray("6=-1")           << false << 6  << QByteArray();
    QTest::newRow("NUL in a text")            << QByteArray("7=a\0b", 5)      << false << 7  << QByteArray();
    QTest::newRow("no number, reviewed")      << QByteArray("22=abc")         << false << 22 << QByteArray("0");
    QTest::newRow("no number, strict")        << QByteArray("22=abc")         << true  << 22 << QByteArray();
    QTest::newRow("no address, strict")       << QByteArray("2=999.1.1.1")    << true  << 2  << QByteArray();
    QTest::newRow("gateway missing, strict")  << QByteArray("3")              << true  << 3  << QByteArray();
    QTest::newRow("strict, all in order")     << QByteArray()                 << true  << 3  << QByteArray("167772161");
    // clang-format on
}

void TestProfileFile::load() {
    QFETCH(QByteArray, lines);
    QFETCH(bool, strict);
    QFETCH(int, id);
    QFETCH(QByteArray, value);
    const QByteArray file =
        "[olg1n]\r\n" + lines + "\r\n13=0x01010100\r\n1=255.0.0.0\r\n2=10.0.0.2\r\n3=10.0.0.1\r\n";
    const DeviceRegistry registry = StandardRegistry();
    TOLG record;
    record.SetValue(5, ParamValue::Text("olg1n"));
    record.SetValue(13, ParamValue::Integer(0x01010100));
    const TOLG before = record;
    ConfigProfile::Refusal refusal;
    const auto result = ConfigProfile(registry).Load(
        ProfileFile(View(file)), record, strict ? ConfigProfile::Check::Strict : ConfigProfile::Check::Review,
        &refusal);
    QCOMPARE(result, value.isNull() ? ConfigProfile::LoadResult::Refused : ConfigProfile::LoadResult::Loaded);
    if (value.isNull()) {
        QCOMPARE(refusal.Id, id);
        QVERIFY(record == before);
    } else {
        const ParamValue& loaded = record.Value(id);
        QCOMPARE(
            QByteArray::fromStdString(loaded.IsText() ? loaded.AsText() : std::to_string(loaded.AsInteger())),
            value);
    }
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
