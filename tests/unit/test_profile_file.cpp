// The Windows profile-file rules, against files written the way Windows tools write (and users edit) them.

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
};

void TestProfileFile::read_data() {
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<QByteArray>("value"); // null: not found

    // clang-format off
    QTest::newRow("any case, blanks trimmed")   << QByteArray("OLG1N") << QByteArray("NAME")    << QByteArray("Lobby rack");
    QTest::newRow("double quotes stripped")     << QByteArray("olg1n") << QByteArray("7")       << QByteArray("  padded  ");
    QTest::newRow("single quotes kept")         << QByteArray("olg1n") << QByteArray("8")       << QByteArray("'single'");
    QTest::newRow("code page letters fold")     << QByteArray("olg1n") << QByteArray("CAF\xc9") << QByteArray("\xe9t\xe9");
    QTest::newRow("key without =")              << QByteArray("olg1n") << QByteArray("flag")    << QByteArray("");
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
    // Mixed case, blanks, quotes, a comment, a second section of the same name, a key without "=", LF-only
    // lines among CR LF ones, Windows-1252 bytes and no final line end.
    const QByteArray file =
        "; saved by hand\r\n[Olg1N]\r\n  Name =  Lobby rack  \r\n7=\"  padded  \"\n8='single'\r\n"
        "caf\xe9=\xe9t\xe9\r\nflag\r\n\r\n[ other ]\nx=1\n[olg1n]\r\nlate=2\r\n[tail]\nlast=end";
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

QTEST_GUILESS_MAIN(TestProfileFile)
#include "test_profile_file.moc"
