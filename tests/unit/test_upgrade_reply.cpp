// How a device's answer to an upgrade request chooses the transfer, and the remote name of an FTP image.

#include "UpgradeReply.h"

#include <QTest>

using namespace olg;

Q_DECLARE_METATYPE(olg::TransferMode)

class TestUpgradeReply : public QObject {
    Q_OBJECT

private slots:
    void replyMode_data();
    void replyMode();
    void ftpImageName_data();
    void ftpImageName();
};

void TestUpgradeReply::replyMode_data() {
    QTest::addColumn<QByteArray>("tail"); // bytes 23 on, after a header of zeros
    QTest::addColumn<TransferMode>("mode");
    // clang-format off
    QTest::newRow("TFTP image")            << QByteArray::fromHex("0003FFFE")     << TransferMode::TftpImage;
    QTest::newRow("FTP image")             << QByteArray::fromHex("0003FFFD")     << TransferMode::FtpImage;
    QTest::newRow("FTP file set")          << QByteArray::fromHex("0004FFFC")     << TransferMode::FtpFileSet;
    QTest::newRow("end marker follows")    << QByteArray::fromHex("0003FFFEFFFF") << TransferMode::TftpImage;
    QTest::newRow("file-set code to 3")    << QByteArray::fromHex("0003FFFC")     << TransferMode::None;
    QTest::newRow("image code to 4")       << QByteArray::fromHex("0004FFFE")     << TransferMode::None;
    QTest::newRow("byte 23 set")           << QByteArray::fromHex("0103FFFE")     << TransferMode::None;
    QTest::newRow("read reply")            << QByteArray::fromHex("0001FFFF")     << TransferMode::None;
    QTest::newRow("one byte short")        << QByteArray::fromHex("0003FF")       << TransferMode::None;
    QTest::newRow("header only")           << QByteArray()                        << TransferMode::None;
    // clang-format on
}

void TestUpgradeReply::replyMode() {
    QFETCH(QByteArray, tail);
    QFETCH(TransferMode, mode);
    const QByteArray datagram = QByteArray(23, '\0') + tail;
    QCOMPARE(ReplyTransferMode(reinterpret_cast<const std::uint8_t*>(datagram.constData()),
                               static_cast<std::size_t>(datagram.size())),
             mode);
}

void TestUpgradeReply::ftpImageName_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("name");
    // clang-format off
    QTest::newRow("capitals")             << "C:/fw/FW.ROM.BIN"            << "rom.bin";
    QTest::newRow("both: rom wins")       << "/tmp/x.image.bin.rom.bin"     << "rom.bin";
    QTest::newRow("image")                << "/tmp/olg8w.image.bin"         << "image.bin";
    QTest::newRow("directory counts")     << "/home/rom.bin/firmware.bin"   << "rom.bin";
    QTest::newRow("neither")              << "/tmp/firmware.bin"            << "";
    // clang-format on
}

void TestUpgradeReply::ftpImageName() {
    QFETCH(QString, path);
    QFETCH(QString, name);
    QCOMPARE(QString::fromStdString(FtpImageName(path.toStdString())), name);
}

QTEST_APPLESS_MAIN(TestUpgradeReply)
#include "test_upgrade_reply.moc"
