// The TFTP and FTP clients against Debian's servers: tftpd-hpa (with and without the block-size option) and
// pyftpdlib. Run by scripts/netlab, on the loopback of its host namespace, so nothing touches the machine's
// own network.

#include "FtpServerScript.h"
#include "TIdFTP.h"
#include "TIdTrivialFTP.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace olg;
using namespace olg::testing;

namespace {

const QString Loopback = QStringLiteral("127.0.0.1");
constexpr quint16 TftpPort = 6969;
constexpr quint16 FtpPort = 2121;

QByteArray Pattern(qsizetype size) {
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 131 + i / 1500) & 0xFF);
    return bytes;
}

bool WriteFile(const QString& path, const QByteArray& contents) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(contents) == contents.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestTransferInterop : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void tftpAgainstTftpdHpa_data();
    void tftpAgainstTftpdHpa();
    void ftpAgainstPyftpdlib();
};

void TestTransferInterop::initTestCase() {
    QString why;
    if (!InsideTheLab(&why))
        QSKIP(qPrintable(QStringLiteral("runs in the lab only: ") + why));
}

void TestTransferInterop::tftpAgainstTftpdHpa_data() {
    QTest::addColumn<bool>("optionsRefused");
    QTest::addColumn<int>("blockSize");
    QTest::newRow("block size 1500") << false << 1500;
    QTest::newRow("options refused: 512") << true << 512;
}

void TestTransferInterop::tftpAgainstTftpdHpa() {
    QFETCH(bool, optionsRefused);
    QFETCH(int, blockSize);
    if (!QFile::exists(QStringLiteral("/usr/sbin/in.tftpd")))
        QSKIP("tftpd-hpa is not installed (scripts/setup installs it)");

    QTemporaryDir root;
    // The devices' file name "/" is the one file of the server's folder.
    const QString map = root.filePath(QStringLiteral("map"));
    QVERIFY(WriteFile(map, "r ^/$ image.bin\n"));
    QStringList arguments{QStringLiteral("--foreground"), QStringLiteral("--listen"),
                          QStringLiteral("--address"),    QStringLiteral("%1:%2").arg(Loopback).arg(TftpPort),
                          QStringLiteral("--user"),       QStringLiteral("root"),
                          QStringLiteral("--create"),     QStringLiteral("--secure"),
                          QStringLiteral("--map-file"),   map};
    if (optionsRefused)
        arguments << QStringLiteral("--refuse") << QStringLiteral("blksize");
    arguments << root.path();
    QProcess server;
    server.start(QStringLiteral("/usr/sbin/in.tftpd"), arguments);
    QVERIFY(server.waitForStarted());
    // Bound once the port is taken.
    QTRY_VERIFY_WITH_TIMEOUT(UdpPortBound(TftpPort), 5000);

    QTemporaryDir local;
    const QByteArray image = Pattern(3 * 1500 * 40 + 77);
    const QString file = local.filePath(QStringLiteral("fw.bin"));
    QVERIFY(WriteFile(file, image));
    TftpSettings settings;
    settings.Port = TftpPort;
    TIdTrivialFTP client(settings);
    client.SetHost(Loopback);
    QVERIFY2(client.Put(file, QStringLiteral("/")), qPrintable(client.ErrorText()));
    QCOMPARE(client.BlockSize(), blockSize);
    QCOMPARE(ReadFile(root.filePath(QStringLiteral("image.bin"))), image);
    const QString back = local.filePath(QStringLiteral("back.bin"));
    QVERIFY2(client.Get(QStringLiteral("/"), back), qPrintable(client.ErrorText()));
    QCOMPARE(client.BlockSize(), blockSize);
    QCOMPARE(ReadFile(back), image);
    // A file the server does not have: its error packet's text reaches the caller.
    QVERIFY(!client.Get(QStringLiteral("/nothing"), back));
    QCOMPARE(client.Error(), TIdTrivialFTP::ErrorKind::FileNotFound);
    server.kill();
    server.waitForFinished();
}

void TestTransferInterop::ftpAgainstPyftpdlib() {
    const QString python = QStringLiteral("/usr/bin/python3");
    QProcess check;
    check.start(python, {QStringLiteral("-c"), QStringLiteral("import pyftpdlib")});
    if (!check.waitForFinished() || check.exitCode() != 0)
        QSKIP("python3-pyftpdlib is not installed (scripts/setup installs it)");

    QTemporaryDir root;
    QVERIFY(WriteFile(root.filePath(QStringLiteral("old.htm")), "old"));
    QProcess server;
    server.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    server.start(python, {QStringLiteral("-c"), QString::fromUtf8(olg::testing::FtpServerScript), root.path(),
                          QString::number(FtpPort)});
    QVERIFY(server.waitForStarted());
    QTRY_VERIFY_WITH_TIMEOUT(server.canReadLine(), 10000);

    QTemporaryDir local;
    const QByteArray image = Pattern(3 * 1024 * 1024 + 5);
    QVERIFY(WriteFile(local.filePath(QStringLiteral("fw.rom.bin")), image));
    FtpSettings settings;
    settings.Port = FtpPort;
    TIdFTP client(settings);
    client.SetHost(Loopback);
    client.SetUser(QByteArray("\xA9quorbel"));
    QVERIFY2(client.Connect(), qPrintable(client.ErrorText()));
    QStringList names;
    QVERIFY2(client.List(&names), qPrintable(client.ErrorText()));
    QCOMPARE(names, QStringList{QStringLiteral("old.htm")});
    QVERIFY2(client.Delete(QStringLiteral("old.htm")), qPrintable(client.ErrorText()));
    QVERIFY2(client.Store(local.filePath(QStringLiteral("fw.rom.bin")), QStringLiteral("rom.bin")),
             qPrintable(client.ErrorText()));
    QVERIFY2(client.List(&names), qPrintable(client.ErrorText()));
    QCOMPARE(names, QStringList{QStringLiteral("rom.bin")});
    // A refusal names the server, the operation and the reply.
    QVERIFY(!client.Delete(QStringLiteral("missing.htm")));
    QVERIFY2(client.ErrorText().startsWith(
                 QStringLiteral("FTP server 127.0.0.1 refused to delete missing.htm: 550")),
             qPrintable(client.ErrorText()));
    client.Quit();
    QCOMPARE(ReadFile(root.filePath(QStringLiteral("rom.bin"))), image);
    QVERIFY(!QFile::exists(root.filePath(QStringLiteral("old.htm"))));
    server.kill();
    server.waitForFinished();
}

QTEST_GUILESS_MAIN(TestTransferInterop)
#include "test_transfer_interop.moc"
