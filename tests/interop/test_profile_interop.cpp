// Configuration files against the Windows profile functions themselves: a small Windows program (built with
// MinGW, run under Wine) reads and writes the same files, and both sides must agree byte for byte. Skipped
// when the compiler or Wine is not installed.

#include "ConfigProfile.h"
#include "ProfileFile.h"
#include "SimulatedLan.h"
#include "TestSupport.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace olg;
using namespace olg::testing;

namespace {

QByteArray Hex(const QByteArray& bytes) {
    return bytes.isEmpty() ? QByteArray("-") : bytes.toHex();
}

std::string_view View(const QByteArray& bytes) {
    return {bytes.constData(), static_cast<std::size_t>(bytes.size())};
}

// "section" and "key" of a query written "section|key".
std::pair<QByteArray, QByteArray> Split(const QByteArray& query) {
    const qsizetype bar = query.indexOf('|');
    return {query.left(bar), query.mid(bar + 1)};
}

} // namespace

class TestProfileInterop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void readsAsWindows_data();
    void readsAsWindows();
    void numbersAsWindows();
    void writesBothWays();
    void olgctlSaveReadByWindows();

private:
    // The probe's answers to the commands, one each; empty when it did not run.
    QList<QByteArray> Probe(const QList<QByteArray>& commands);
    static QByteArray Command(char verb, const QString& path, const QByteArray& query,
                              const QByteArray& value = {});
    // Each query's answer as the probe gives it: "=" and the value in hexadecimal, or "-" when missing.
    static QList<QByteArray> OurReading(const QString& path, const QList<QByteArray>& queries);
    QList<QByteArray> WindowsReading(const QString& path, const QList<QByteArray>& queries);
    QString Write(const QByteArray& bytes, const QString& name) const;

    QString wine_;
    QTemporaryDir dir_;
    QProcessEnvironment environment_ = QProcessEnvironment::systemEnvironment();
};

void TestProfileInterop::initTestCase() {
    const QString probe = QStringLiteral(PROFILE_PROBE);
    wine_ = QStandardPaths::findExecutable(QStringLiteral("wine64"));
    for (const QString& candidate : {QStringLiteral("/usr/lib/wine/wine64"), QStringLiteral("/usr/bin/wine")})
        if (wine_.isEmpty() && QFileInfo(candidate).isExecutable())
            wine_ = candidate;
    if (probe.isEmpty() || !QFileInfo::exists(probe) || wine_.isEmpty())
        QSKIP("needs x86_64-w64-mingw32-gcc and wine64 (see scripts/debian-packages)");
    QVERIFY(dir_.isValid());
    // A prefix of its own, quiet, with no Mono or Gecko installer asking for a download.
    environment_.insert(QStringLiteral("WINEPREFIX"), dir_.filePath(QStringLiteral("prefix")));
    environment_.insert(QStringLiteral("WINEDEBUG"), QStringLiteral("-all"));
    environment_.insert(QStringLiteral("WINEDLLOVERRIDES"), QStringLiteral("mscoree,mshtml="));
    environment_.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    environment_.remove(QStringLiteral("DISPLAY"));
    // The first run builds the prefix, which takes a while.
    const QList<QByteArray> codePage = Probe({"a"});
    QVERIFY2(!codePage.isEmpty(), "the probe did not run under Wine");
    QCOMPARE(codePage.front(), QByteArray("1252"));
}

void TestProfileInterop::cleanupTestCase() {
    if (wine_.isEmpty())
        return;
    // The prefix's server would linger a few seconds after the last program; it goes with the prefix.
    QProcess server;
    server.setProcessEnvironment(environment_);
    server.start(QFileInfo(wine_).dir().filePath(QStringLiteral("wineserver")), {QStringLiteral("-k")});
    server.waitForFinished(10000);
}

QList<QByteArray> TestProfileInterop::Probe(const QList<QByteArray>& commands) {
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.start(wine_, {QStringLiteral(PROFILE_PROBE)});
    process.write(commands.join('\n') + '\n');
    process.closeWriteChannel();
    if (!process.waitForFinished(180000)) {
        process.kill();
        process.waitForFinished();
        return {};
    }
    QList<QByteArray> answers = process.readAllStandardOutput().replace('\r', "").split('\n');
    answers.removeLast();
    return answers.size() == commands.size() ? answers : QList<QByteArray>{};
}

QByteArray TestProfileInterop::Command(char verb, const QString& path, const QByteArray& query,
                                       const QByteArray& value) {
    const auto [section, key] = Split(query);
    const QByteArray windowsPath = "Z:" + path.toUtf8().replace('/', '\\');
    return QByteArray(1, verb) + ' ' + Hex(windowsPath) + ' ' + Hex(section) + ' ' + Hex(key) + ' ' +
           Hex(value);
}

QList<QByteArray> TestProfileInterop::OurReading(const QString& path, const QList<QByteArray>& queries) {
    QFile file(path);
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const ProfileFile profile(View(bytes));
    QList<QByteArray> answers;
    for (const QByteArray& query : queries) {
        const auto [section, key] = Split(query);
        const std::optional<std::string> value = profile.ReadString(View(section), View(key));
        answers.append(value ? "=" + QByteArray::fromStdString(*value).toHex() : QByteArray("-"));
    }
    return answers;
}

QList<QByteArray> TestProfileInterop::WindowsReading(const QString& path, const QList<QByteArray>& queries) {
    QList<QByteArray> commands;
    for (const QByteArray& query : queries)
        commands.append(Command('r', path, query));
    return Probe(commands);
}

QString TestProfileInterop::Write(const QByteArray& bytes, const QString& name) const {
    QFile file(dir_.filePath(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return {};
    return file.fileName();
}

void TestProfileInterop::readsAsWindows_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QList<QByteArray>>("queries"); // "section|key"

    // clang-format off
    QTest::newRow("blanks and tabs")
        << QByteArray("[ s ]\r\n\t k \t=\t v  w \x1a\r\n  k2=\r\n\v\f\r\n")
        << QList<QByteArray>{"s|k", " s |\tk", "S|K", "s|k2"};
    QTest::newRow("quotes of both kinds")
        << QByteArray("[q]\r\n1=''\r\n2=\"\"\r\n3='x'\r\n4=\"x'\r\n5=\"x\r\n6=\"\r\n7=''x''\r\n8=  'x'  \r\n"
                      "9='\"x\"'\r\n10=\"a\" \"b\"\r\n11=' x '\r\n")
        << QList<QByteArray>{"q|1", "q|2", "q|3", "q|4", "q|5", "q|6", "q|7", "q|8", "q|9", "q|10", "q|11"};
    QTest::newRow("equals signs and semicolons")
        << QByteArray("[e]\r\nk=v=w\r\n=empty\r\na;b=c ; d\r\n; x=1\r\n;c\r\nk2 = = \r\n")
        << QList<QByteArray>{"e|k", "e|", "e|a;b", "e|; x", "e|;c", "e|k2"};
    QTest::newRow("line ends")
        << QByteArray("[l]\r\na=1\rb=2\nc=3\n\r\r\nd=4")
        << QList<QByteArray>{"l|a", "l|b", "l|c", "l|d"};
    QTest::newRow("duplicate keys and sections, a key without =")
        << QByteArray("[d]\r\nk=first\r\nK=second\r\nnoeq\r\nnoeq=1\r\n[D]\r\nk=third\r\nlater=5\r\n")
        << QList<QByteArray>{"d|k", "d|noeq", "d|later", "D|K"};
    QTest::newRow("Windows-1252 letters")
        << QByteArray("[caf\xc9]\r\n\xe9t\xe9=\x80\xa0\xff\r\nK\xc9Y=1\r\n")
        << QList<QByteArray>{"caf\xc9|\xe9t\xe9", "CAF\xc9|\xe9t\xe9", "caf\xe9|\xe9t\xe9", "caf\xc9|k\xc9y",
                             "caf\xc9|K\xe9Y"};
    QTest::newRow("odd section lines")
        << QByteArray("lead=0\r\n[s]\r\n[v=1\r\n[w]=2\r\nx=3\r\n[a]b]\r\ny=4\r\n[]\r\nz=5\r\n")
        << QList<QByteArray>{"s|[v", "w|x", "a]b|y", "|z", "s|x", "|lead", " |lead"};
    QTest::newRow("UTF-8 byte order mark")
        << QByteArray("\xef\xbb\xbf[u]\r\nk=caf\xc3\xa9 \xe2\x82\xac \xe4\xb8\xad\r\nbad=\xe9x\r\nhalf=\xe2\x82\r\n"
                      "wide=\xf0\x9f\x98\x80\r\nlong=\xc0\x80\r\n")
        << QList<QByteArray>{"u|k", "u|bad", "u|half", "u|wide", "u|long"};
    // clang-format on
}

void TestProfileInterop::readsAsWindows() {
    QFETCH(QByteArray, file);
    QFETCH(QList<QByteArray>, queries);
    const QString path = Write(file, QStringLiteral("read.cfg"));
    QCOMPARE(OurReading(path, queries), WindowsReading(path, queries));
}

void TestProfileInterop::numbersAsWindows() {
    // The numbers a tool writes, as the Windows integer reader takes them.
    const QList<QByteArray> numbers{"-2147483648", "4294967295", "-1", "0x1F", "  42  ",
                                    "\"7\"",       "'8'",        "+5", "017",  "0"};
    QByteArray file = "[n]\r\n";
    QList<QByteArray> commands;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        file += QByteArray::number(i) + "=" + numbers[i] + "\r\n";
        commands.append(
            Command('i', dir_.filePath(QStringLiteral("numbers.cfg")), "n|" + QByteArray::number(i)));
    }
    const QString path = Write(file, QStringLiteral("numbers.cfg"));
    const ProfileFile profile(View(file));
    QList<QByteArray> ours;
    for (qsizetype i = 0; i < numbers.size(); ++i) {
        const std::int64_t number =
            ConfigProfile::ParseNumber(profile.ReadString("n", std::to_string(i)).value()).value_or(-7);
        ours.append(QByteArray::number(static_cast<std::uint32_t>(number)));
    }
    QCOMPARE(ours, Probe(commands));
}

void TestProfileInterop::writesBothWays() {
    const QList<QByteArray> values{
        " lead", "trail ",      "\tboth\t", "'single'", "\"double\"",   "\"",      "'",
        "''",    "\"'mixed\"'", "a=b;c",    "[x]",      "\x80\xe9\xff", "end\x1a", ""};
    // Written here into a file with another section, the Windows functions read each value as it was given.
    ProfileFile ours(std::string_view("; top\r\n[other]\r\nk=1\r\n"));
    QList<QByteArray> queries, expected, commands;
    for (qsizetype i = 0; i < values.size(); ++i) {
        QVERIFY(ours.WriteString("s", std::to_string(i), View(values[i])));
        queries.append("s|" + QByteArray::number(i));
        expected.append("=" + values[i].toHex());
    }
    const QString path = Write(QByteArray::fromStdString(ours.Bytes()), QStringLiteral("ours.cfg"));
    QCOMPARE(WindowsReading(path, queries), expected);

    // Then the Windows functions change that file, and both read it alike.
    for (qsizetype i = 0; i < values.size(); ++i) {
        commands.append(Command('w', path, "s|w" + QByteArray::number(i), values[i]));
        queries.append("s|w" + QByteArray::number(i));
    }
    commands.append(Command('w', path, "OTHER|K", "2"));
    commands.append(Command('w', path, "new|k", "3"));
    QCOMPARE(Probe(commands), QList<QByteArray>(commands.size(), "1"));
    queries << "other|k"
            << "new|k";
    QCOMPARE(OurReading(path, queries), WindowsReading(path, queries));
}

void TestProfileInterop::olgctlSaveReadByWindows() {
    // A device whose texts hold blanks, quotes, "=", ";", brackets and the letters of its code page.
    const QByteArray name = "  Caf\xe9 \"q\" =;[x]\t ", login = "'quoted'", password = "\"pass word\"";
    const QJsonObject device{
        {QStringLiteral("type"), QStringLiteral("0x01010100")},
        {QStringLiteral("mac"), QStringLiteral("00-0A-95-00-00-01")},
        {QStringLiteral("params"), QJsonObject{{QStringLiteral("7"), QString::fromLatin1(name)},
                                               {QStringLiteral("8"), QString::fromLatin1(login)},
                                               {QStringLiteral("9"), QString::fromLatin1(password)}}}};
    const QString lan =
        Write(QJsonDocument(QJsonObject{{QStringLiteral("devices"), QJsonArray{device}}}).toJson(),
              QStringLiteral("lan.json"));
    SimulatedLan simulator;
    QString error;
    QVERIFY2(simulator.StartSimulator({QStringLiteral("--config"), lan}, &error), qPrintable(error));
    const QString path = dir_.filePath(QStringLiteral("saved.cfg"));
    const ProgramResult saved =
        RunProgram(QStringLiteral("olgctl"),
                   {QStringLiteral("--bind"), QStringLiteral("127.0.0.1:0"), QStringLiteral("--target"),
                    QStringLiteral("127.0.0.1:%1").arg(simulator.Port()), QStringLiteral("save"),
                    QStringLiteral("00-0A-95-00-00-01"), path});
    QVERIFY2(saved.ExitCode == 0, qPrintable(saved.Err));

    QList<QByteArray> queries;
    for (int id = 1; id <= 72; ++id)
        queries.append("olg1n|" + QByteArray::number(id));
    const QList<QByteArray> windows = WindowsReading(path, queries);
    QCOMPARE(windows, OurReading(path, queries));
    QCOMPARE(windows.mid(6, 3),
             (QList<QByteArray>{"=" + name.toHex(), "=" + login.toHex(), "=" + password.toHex()}));
}

QTEST_GUILESS_MAIN(TestProfileInterop)
#include "test_profile_interop.moc"
