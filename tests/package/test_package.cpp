// The Debian package from the outside: made from this build tree, unpacked into a scratch root, and each
// installed part used the way a user or the desktop uses it.

#include "TestSupport.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using olg::testing::ProgramResult;
using olg::testing::RunProgram;

namespace {

// Loads the installed completion as bash does and completes the line.
const char* const CompleteLine = "source \"$1\" && COMP_LINE=$2 && COMP_POINT=${#COMP_LINE} && "
                                 "COMP_WORDS=($2) && COMP_CWORD=$((${#COMP_WORDS[@]} - 1)) && "
                                 "$(complete -p olgctl | sed 's/.*-F \\([^ ]*\\).*/\\1/'); "
                                 "printf '[%s]' \"${COMPREPLY[*]}\"";

} // namespace

class TestPackage : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void installed_data();
    void installed();

private:
    QTemporaryDir dir_;
    QString root_;
};

void TestPackage::initTestCase() {
    QVERIFY(dir_.isValid());
    const QString out = dir_.filePath(QStringLiteral("out"));
    const ProgramResult made =
        RunProgram(QStringLiteral(OLG_CPACK),
                   {QStringLiteral("--config"), QStringLiteral(OLG_BUILD_DIR "/CPackConfig.cmake"),
                    QStringLiteral("-B"), out},
                   600000);
    QVERIFY2(made.ExitCode == 0, qPrintable(made.Out + made.Err));
    const QString architecture =
        RunProgram(QStringLiteral("/usr/bin/dpkg"), {QStringLiteral("--print-architecture")}).Out.trimmed();
    const QString package =
        QStringLiteral("%1/finder_%2_%3.deb").arg(out, QStringLiteral(OLG_VERSION), architecture);
    QVERIFY2(QFileInfo::exists(package), qPrintable(package));
    root_ = dir_.filePath(QStringLiteral("root"));
    QCOMPARE(RunProgram(QStringLiteral("/usr/bin/dpkg-deb"), {QStringLiteral("-x"), package, root_}).ExitCode,
             0);
}

void TestPackage::installed_data() {
    QTest::addColumn<QString>("program");       // absolute, or under the unpacked root
    QTest::addColumn<QStringList>("arguments"); // "ROOT" stands for the unpacked root
    QTest::addColumn<QString>("expected");      // part of the standard output

    const QString version = QStringLiteral(" " OLG_VERSION "\n");
    for (const char* name : {"olgfinder", "olgctl", "olgsim"})
        QTest::newRow(name) << QStringLiteral("ROOT/usr/bin/") + QLatin1String(name)
                            << QStringList{QStringLiteral("--version")} << QLatin1String(name) + version;
    for (const char* name : {"olgfinder", "olgctl", "olgsim"})
        QTest::newRow(qPrintable(QStringLiteral("man %1").arg(QLatin1String(name))))
            << QStringLiteral("/usr/bin/man")
            << QStringList{QStringLiteral("--warnings"), QStringLiteral("-l"), QStringLiteral("-P"),
                           QStringLiteral("cat"),
                           QStringLiteral("ROOT/usr/share/man/man1/%1.1.gz").arg(QLatin1String(name))}
            << QLatin1String(name) + QStringLiteral(" - ");
    QTest::newRow("olgctl up<Tab>") << QStringLiteral("/bin/bash")
                                    << QStringList{QStringLiteral("--norc"),
                                                   QStringLiteral("-c"),
                                                   QString::fromLatin1(CompleteLine),
                                                   QStringLiteral("bash"),
                                                   QStringLiteral(
                                                       "ROOT/usr/share/bash-completion/completions/olgctl"),
                                                   QStringLiteral("olgctl up")}
                                    << QStringLiteral("[upgrade]");
    QTest::newRow("desktop entry") << QStringLiteral("/usr/bin/desktop-file-validate")
                                   << QStringList{QStringLiteral(
                                          "ROOT/usr/share/applications/org.example.OlgFinder.desktop")}
                                   << QString();
    QTest::newRow("AppStream data")
        << QStringLiteral("/usr/bin/appstreamcli")
        << QStringList{QStringLiteral("validate"), QStringLiteral("--no-net"),
                       QStringLiteral("ROOT/usr/share/metainfo/org.example.OlgFinder.metainfo.xml")}
        << QStringLiteral("Validation was successful");
}

void TestPackage::installed() {
    QFETCH(QString, program);
    QFETCH(QStringList, arguments);
    QFETCH(QString, expected);

    program.replace(QLatin1String("ROOT"), root_);
    arguments.replaceInStrings(QLatin1String("ROOT"), root_);
    if (!QFileInfo(program).isExecutable())
        QSKIP(qPrintable(program + QStringLiteral(" is not installed")));
    const ProgramResult result = RunProgram(program, arguments);
    QVERIFY2(result.ExitCode == 0 && result.Err.isEmpty() && result.Out.contains(expected),
             qPrintable(result.Out + result.Err));
}

QTEST_GUILESS_MAIN(TestPackage)
#include "test_package.moc"
