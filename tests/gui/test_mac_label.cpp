// MAC labels read back by a real decoder (zbarimg): the label image, and the page printed into a PDF and
// rendered by pdftoppm.

#include "Code128.h"
#include "MacLabel.h"
#include "QtPrinterService.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace olg;

namespace {

// What a program printed, or nothing when it failed.
std::optional<QString> Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        qWarning() << program << arguments << process.readAllStandardError();
        return std::nullopt;
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Decode(const QString& image) {
    return Run(QStringLiteral("zbarimg"), {QStringLiteral("-q"), QStringLiteral("--raw"), image})
        .value_or(QString())
        .trimmed();
}

} // namespace

class TestMacLabel : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void encoding_data();
    void encoding();
    void decoded_data();
    void decoded();

private:
    QTemporaryDir dir_;
};

void TestMacLabel::initTestCase() {
    for (const char* tool : {"zbarimg", "pdftoppm", "pdfinfo"})
        if (QStandardPaths::findExecutable(QLatin1String(tool)).isEmpty())
            QFAIL(qPrintable(QStringLiteral("%1 is missing: run scripts/setup").arg(QLatin1String(tool))));
}

void TestMacLabel::encoding_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("check"); // -1: cannot be encoded
    // Check characters worked out by hand: Start A (103) plus each value times its position, modulo 103.
    QTest::newRow("letters") << QByteArray("AB") << 101;
    QTest::newRow("a control character") << QByteArray("A\tB") << 75;
    QTest::newRow("a MAC text") << QByteArray("00-0A-95-9D-68-16") << 29;
    QTest::newRow("lower case has no place in subset A") << QByteArray("00-0a") << -1;
    QTest::newRow("nor the backquote") << QByteArray("`") << -1;
}

void TestMacLabel::encoding() {
    QFETCH(QByteArray, text);
    QFETCH(int, check);
    const auto values = Code128::Encode(text.toStdString());
    QCOMPARE(values.has_value(), check >= 0);
    if (!values)
        return;
    QCOMPARE(values->front(), Code128::StartA);
    QCOMPARE(values->at(values->size() - 2), check);
    QCOMPARE(values->back(), Code128::Stop);
    int modules = 0;
    for (const std::uint8_t width : Code128::ModuleWidths(*values))
        modules += width;
    QCOMPARE(modules, Code128::CharacterModules * (text.size() + 2) + Code128::StopModules);
}

void TestMacLabel::decoded_data() {
    QTest::addColumn<QString>("mac");
    QTest::addColumn<QString>("medium");
    QTest::addColumn<int>("dotsPerInch");
    for (const char* mac : {"00-0A-95-9D-68-16", "FF-FF-FF-FF-FF-FE", "02-4F-4C-00-00-01",
                            "00-00-00-00-00-00", "9A-BC-DE-F0-12-34", "C4-7D-46-E1-B0-58"})
        QTest::newRow(mac) << QString::fromLatin1(mac) << QStringLiteral("image") << 300;
    // 1 mil at 1500 dots per inch is 1.5 dots: bars two dots wide.
    QTest::newRow("bars of two dots")
        << QStringLiteral("00-0A-95-9D-68-16") << QStringLiteral("image") << 1500;
    QTest::newRow("printed into a PDF") << QStringLiteral("00-0A-95-9D-68-16") << QStringLiteral("pdf") << 0;
    QTest::newRow("printed into a PDF, other MAC")
        << QStringLiteral("FF-FF-FF-FF-FF-FE") << QStringLiteral("pdf") << 0;
}

void TestMacLabel::decoded() {
    QFETCH(QString, mac);
    QFETCH(QString, medium);
    QFETCH(int, dotsPerInch);
    const MacLabel label(mac);
    QVERIFY(label.Valid());
    const QString image = dir_.filePath(QStringLiteral("label.png"));
    QFile::remove(image);
    if (medium == QLatin1String("image")) {
        QVERIFY(label.Image(dotsPerInch).save(image));
    } else {
        const QString pdf = dir_.filePath(QStringLiteral("label.pdf"));
        const QString title = QStringLiteral("eOutletGuard Finder ") + mac;
        QtPrinterService printer;
        QString error;
        QVERIFY2(printer.Print(
                     {title, true, pdf},
                     [&](QPainter& painter, int resolution) { label.Paint(painter, resolution); }, &error),
                 qPrintable(error));
        const QString info = Run(QStringLiteral("pdfinfo"), {pdf}).value_or(QString());
        QVERIFY(info.contains(QStringLiteral("Title:           ") + title));
        QVERIFY(info.contains(QStringLiteral("Pages:           1")));
        // "Page size:      841.89 x 595.276 pts (A4)": wider than high.
        const QStringList size =
            info.section(QStringLiteral("Page size:"), 1).simplified().split(QLatin1Char(' '));
        QVERIFY(size.value(0).toDouble() > size.value(2).toDouble());
        QVERIFY(Run(QStringLiteral("pdftoppm"),
                    {QStringLiteral("-r"), QStringLiteral("600"), QStringLiteral("-png"),
                     QStringLiteral("-singlefile"), pdf, image.chopped(4)})
                    .has_value());
    }
    QCOMPARE(Decode(image), mac);
}

QTEST_MAIN(TestMacLabel)
#include "test_mac_label.moc"
