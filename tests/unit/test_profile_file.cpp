// The Windows profile-file rules, against files written the way Windows tools write (and users edit) them.

#include "ProfileFile.h"

#include <QTest>

using namespace olg;

namespace {

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// Mixed case, blanks, quotes, a comment, an unknown key, a second section of the same name, a lone key
// without "=", LF-only lines mixed with CR LF, Windows-1252 bytes and no final line end.
const QByteArray Sample = "; saved by hand\r\n"
                          "[Olg1N]\r\n"
                          "  Name =  Lobby rack  \r\n"
                          "7=\"  padded  \"\n"
                          "8='single'\r\n"
                          "9=\"\"\r\n"
                          "caf\xe9=\xe9t\xe9\r\n"
                          "flag\r\n"
                          "\r\n"
                          "[ other ]\n"
                          "x=1\n"
                          "[olg1n]\r\n"
                          "late=2\r\n"
                          "name=shadowed\r\n"
                          "[tail]\n"
                          "last=end";

} // namespace

class TestProfileFile : public QObject {
    Q_OBJECT

private slots:
    void read_data();
    void read();
    void rewrite_data();
    void rewrite();
    void valuesReadBack_data();
    void valuesReadBack();
};

void TestProfileFile::read_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QByteArray>("value");

    // clang-format off
    QTest::newRow("any case, blanks trimmed")   << QByteArray("OLG1N")  << QByteArray("NAME")  << true  << QByteArray("Lobby rack");
    QTest::newRow("double quotes stripped")     << QByteArray("olg1n")  << QByteArray("7")     << true  << QByteArray("  padded  ");
    QTest::newRow("single quotes kept")         << QByteArray("olg1n")  << QByteArray("8")     << true  << QByteArray("'single'");
    QTest::newRow("empty quoted value")         << QByteArray("olg1n")  << QByteArray("9")     << true  << QByteArray("");
    QTest::newRow("code page letters fold")     << QByteArray("olg1n")  << QByteArray("CAF\xc9") << true << QByteArray("\xe9t\xe9");
    QTest::newRow("key without =")              << QByteArray("olg1n")  << QByteArray("flag")  << true  << QByteArray("");
    QTest::newRow("section name blanks")        << QByteArray("other")  << QByteArray("x")     << true  << QByteArray("1");
    QTest::newRow("first section wins")         << QByteArray("olg1n")  << QByteArray("late")  << false << QByteArray();
    QTest::newRow("comment is no section")      << QByteArray("olg1n")  << QByteArray("x")     << false << QByteArray();
    QTest::newRow("missing section")            << QByteArray("olg8w")  << QByteArray("1")     << false << QByteArray();
    QTest::newRow("last line without line end") << QByteArray("tail")  << QByteArray("last")  << true  << QByteArray("end");
    // clang-format on
}

void TestProfileFile::read() {
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(bool, found);
    QFETCH(QByteArray, value);
    const std::optional<std::string> read = ProfileFile(View(Sample)).ReadString(View(section), View(key));
    QCOMPARE(read.has_value(), found);
    if (found)
        QCOMPARE(QByteArray::fromStdString(*read), value);
}

void TestProfileFile::rewrite_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("after");

    const QByteArray twoSections = "; top\n[A]\nk = old \n; note\n\n[B]\ny=2";
    // clang-format off
    QTest::newRow("replace in place, key keeps its spelling")
        << twoSections << QByteArray("a") << QByteArray("K") << QByteArray("new")
        << QByteArray("; top\r\n[A]\r\nk=new\r\n; note\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("append after the section's last line, before the blank one")
        << twoSections << QByteArray("A") << QByteArray("13") << QByteArray("16843008")
        << QByteArray("; top\r\n[A]\r\nk = old \r\n; note\r\n13=16843008\r\n\r\n[B]\r\ny=2\r\n");
    QTest::newRow("append to the last section")
        << twoSections << QByteArray("b") << QByteArray("z") << QByteArray("3")
        << QByteArray("; top\r\n[A]\r\nk = old \r\n; note\r\n\r\n[B]\r\ny=2\r\nz=3\r\n");
    QTest::newRow("missing section appended at the end")
        << twoSections << QByteArray("olg8w") << QByteArray("1") << QByteArray("255.255.255.0")
        << QByteArray("; top\r\n[A]\r\nk = old \r\n; note\r\n\r\n[B]\r\ny=2\r\n[olg8w]\r\n1=255.255.255.0\r\n");
    QTest::newRow("new file")
        << QByteArray() << QByteArray("olg1n") << QByteArray("7") << QByteArray("Caf\xe9")
        << QByteArray("[olg1n]\r\n7=Caf\xe9\r\n");
    QTest::newRow("blanks kept inside quotes")
        << QByteArray("[A]\r\n") << QByteArray("A") << QByteArray("7") << QByteArray(" x ")
        << QByteArray("[A]\r\n7=\" x \"\r\n");
    QTest::newRow("CR inside a value refused, file unchanged")
        << twoSections << QByteArray("A") << QByteArray("k") << QByteArray("a\rb") << QByteArray();
    QTest::newRow("LF inside a value refused") << twoSections << QByteArray("A") << QByteArray("k") << QByteArray("a\nb") << QByteArray();
    QTest::newRow("NUL inside a value refused") << twoSections << QByteArray("A") << QByteArray("k") << QByteArray("a\0b", 3) << QByteArray();
    QTest::newRow("LF in the section refused")  << twoSections << QByteArray("A\n") << QByteArray("k") << QByteArray("v") << QByteArray();
    // clang-format on
}

void TestProfileFile::rewrite() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, section);
    QFETCH(QByteArray, key);
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, after);
    ProfileFile file(View(before));
    const std::string unchanged = file.Bytes();
    QCOMPARE(file.WriteString(View(section), View(key), View(value)), !after.isEmpty());
    QCOMPARE(QByteArray::fromStdString(file.Bytes()),
             after.isEmpty() ? QByteArray::fromStdString(unchanged) : after);
}

void TestProfileFile::valuesReadBack_data() {
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<QByteArray>("stored");

    // What a Windows reader would change is quoted; everything else is written as it is.
    QTest::newRow("plain") << QByteArray("a=b [c] ;d") << QByteArray("a=b [c] ;d");
    QTest::newRow("leading blank") << QByteArray(" a") << QByteArray("\" a\"");
    QTest::newRow("trailing tab") << QByteArray("a\t") << QByteArray("\"a\t\"");
    QTest::newRow("double quoted") << QByteArray("\"a\"") << QByteArray("\"\"a\"\"");
    QTest::newRow("single quoted") << QByteArray("'a'") << QByteArray("\"'a'\"");
    QTest::newRow("one quote") << QByteArray("\"") << QByteArray("\"");
    QTest::newRow("high bytes") << QByteArray("\x80\xff\x01") << QByteArray("\x80\xff\x01");
}

void TestProfileFile::valuesReadBack() {
    QFETCH(QByteArray, value);
    QFETCH(QByteArray, stored);
    ProfileFile file;
    QVERIFY(file.WriteString("s", "k", View(value)));
    QCOMPARE(QByteArray::fromStdString(file.Bytes()), "[s]\r\nk=" + stored + "\r\n");
    const ProfileFile reread(file.Bytes());
    QCOMPARE(QByteArray::fromStdString(reread.ReadString("s", "k").value()), value);
}

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
