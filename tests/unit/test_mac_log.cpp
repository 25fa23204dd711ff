// The MAC log on disk: the header lines, the fixed columns of an entry, the duplicate rule and the rewrite.

#include "MacLogFile.h"

#include <QFile>
#include <QLockFile>
#include <QTemporaryDir>
#include <QTest>

#include <atomic>
#include <thread>

using namespace olg;

namespace {

const QByteArray Header =
    "Adresse MAC       | Date                | Type                             | FirmWare \r\n" +
    QByteArray(86, '-') + "\r\n";
const char* const Mac = "00-0A-95-9D-68-16";
const char* const When = "08/12/2026 09:30:00";

// Columns 1, 19, 41 and 76 as the layout puts them, padded to 87 characters.
QByteArray Line(const QByteArray& model, const QByteArray& firmware) {
    QByteArray line = QByteArray(Mac) + ' ' + "| " + When;
    line = line.leftJustified(40, ' ') + "| " + model;
    line = line.leftJustified(75, ' ', true) + "| v" + firmware;
    return line.leftJustified(87, ' ') + "\r\n";
}

} // namespace

class TestMacLog : public QObject {
    Q_OBJECT

private slots:
    void append_data();
    void append();
    void concurrentWriters();
};

void TestMacLog::append_data() {
    QTest::addColumn<QByteArray>("existing"); // null: no file
    QTest::addColumn<QByteArray>("model");
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("expected");
    const int added = int(MacLogFile::Result::Added);
    const int duplicate = int(MacLogFile::Result::Duplicate);
    const QByteArray other = "00-0A-95-9D-68-17 | 01/12/2026 10:00:00 | olg1n";
    QTest::newRow("first entry brings the header lines")
        << QByteArray() << QByteArray("olg8w") << QByteArray("1.4.0.0") << added
        << Header + Line("olg8w", "1.4.0.0");
    QTest::newRow("an empty file is like none")
        << QByteArray("") << QByteArray("olg8w") << QByteArray("1.4.0.0") << added
        << Header + Line("olg8w", "1.4.0.0");
    QTest::newRow("added after the last line; LF ends become CR LF")
        << QByteArray("Adresse\n") + QByteArray(86, '-') + "\n" + other << QByteArray("olg1n")
        << QByteArray("2") << added
        << QByteArray("Adresse\r\n") + QByteArray(86, '-') + "\r\n" + other + "\r\n" + Line("olg1n", "2");
    QTest::newRow("the MAC at the start of a line is a duplicate")
        << Header + QByteArray(Mac) + " | x\r\n"
        << QByteArray("olg1n") << QByteArray("2") << duplicate << Header + QByteArray(Mac) + " | x\r\n";
    QTest::newRow("the MAC elsewhere is none")
        << Header + "x " + QByteArray(Mac) + "\r\n"
        << QByteArray("olg1n") << QByteArray("2") << added
        << Header + "x " + QByteArray(Mac) + "\r\n" + Line("olg1n", "2");
    const QByteArray longModel = "eOutletGuard 8 sockets rack 19 in.";
    QTest::newRow("a 34-character model is cut by the firmware field")
        << QByteArray() << longModel << QByteArray("1.0") << added
        << Header + Line(longModel.left(33), "1.0");
    QTest::newRow("a long firmware makes the line longer than 87")
        << QByteArray() << QByteArray("olg1n") << QByteArray("1.2.3.4-beta7") << added
        << Header + Line("olg1n", "1.2.3.4-beta7");
    QTest::newRow("Windows-1252 bytes kept as they are")
        << QByteArray() << QByteArray("Caf\xe9") << QByteArray("1") << added << Header + Line("Caf\xe9", "1");
}

void TestMacLog::append() {
    QFETCH(QByteArray, existing);
    QFETCH(QByteArray, model);
    QFETCH(QByteArray, firmware);
    QFETCH(int, result);
    QFETCH(QByteArray, expected);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mac.txt"));
    if (!existing.isNull()) {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(existing);
    }
    QString error;
    const MacLog::Entry entry{Mac, When, model.toStdString(), firmware.toStdString()};
    QCOMPARE(int(MacLogFile::Append(path, entry, &error)), result);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
    // Nothing left beside it by the rewrite.
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("mac.txt")});
}

void TestMacLog::concurrentWriters() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mac.txt"));
    // A writer that keeps the log longer than the wait: nothing is logged, and the user is told why.
    QLockFile other(path + QStringLiteral(".lock"));
    QVERIFY(other.lock());
    QString error;
    QCOMPARE(int(MacLogFile::Append(path, {Mac, When, "olg1n", "1"}, &error, 200)),
             int(MacLogFile::Result::Failed));
    QVERIFY2(error.contains(QStringLiteral("locked by another writer")), qPrintable(error));
    other.unlock();

    // Writers that overlap lose no entry: each one's read, check and rewrite wait for the others'.
    constexpr int writers = 6;
    constexpr int entries = 10;
    std::atomic<int> added{0};
    std::vector<std::thread> threads;
    for (int writer = 0; writer < writers; ++writer) {
        threads.emplace_back([&, writer] {
            for (int i = 0; i < entries; ++i) {
                const std::string mac = QStringLiteral("00-00-00-00-%1-%2").arg(writer).arg(i).toStdString();
                QString failure;
                if (MacLogFile::Append(path, {mac, When, "olg1n", "1"}, &failure) ==
                    MacLogFile::Result::Added)
                    ++added;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    QCOMPARE(added.load(), writers * entries);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll().count("\r\n"), 2 + writers * entries);
}

QTEST_GUILESS_MAIN(TestMacLog)
#include "test_mac_log.moc"
