// The distribution variant from the file version of the version block, and version blocks in files of
// every shape.

#include "DistributionAddresses.h"
#include "DistributionVariant.h"
#include "VersionBlock.h"

#include <QTest>

using namespace olg;

namespace {

std::span<const std::uint8_t> Span(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// A little-endian 64-bit ELF file of three sections (none, the names, the block).
QByteArray Elf(const QByteArray& block, const QByteArray& name = ".olg_version") {
    const QByteArray names =
        QByteArray(1, '\0') + ".shstrtab" + QByteArray(1, '\0') + name + QByteArray(1, '\0');
    QByteArray file(64, '\0');
    file.replace(0, 6,
                 QByteArray("\x7F"
                            "ELF\x02\x01",
                            6));
    const auto put = [&file](qsizetype at, quint64 value, int size) {
        for (int i = 0; i < size; ++i)
            file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    const qsizetype namesAt = file.size();
    file += names;
    const qsizetype blockAt = file.size();
    file += block;
    const qsizetype tableAt = file.size();
    file += QByteArray(3 * 64, '\0');
    put(0x28, static_cast<quint64>(tableAt), 8);
    put(0x3A, 64, 2);
    put(0x3C, 3, 2);
    put(0x3E, 1, 2);
    put(tableAt + 64 + 0, 1, 4);
    put(tableAt + 64 + 0x18, static_cast<quint64>(namesAt), 8);
    put(tableAt + 64 + 0x20, static_cast<quint64>(names.size()), 8);
    put(tableAt + 128 + 0, 11, 4);
    put(tableAt + 128 + 0x18, static_cast<quint64>(blockAt), 8);
    put(tableAt + 128 + 0x20, static_cast<quint64>(block.size()), 8);
    return file;
}

// The final NUL of the literal ends the block.
constexpr char RawBlock[] = "OLG-VERSION-1\0FileVersion\0"
                            "1,8,0,4\0Comments\0";
const QByteArray Block(RawBlock, sizeof RawBlock);

} // namespace

class TestVersionBlock : public QObject {
    Q_OBJECT

private slots:
    void variants_data();
    void variants();
    void files_data();
    void files();
};

void TestVersionBlock::variants_data() {
    QTest::addColumn<QString>("fileVersion");
    QTest::addColumn<bool>("known");
    QTest::addColumn<int>("distributorCode");
    QTest::addColumn<bool>("fullFeatures");
    QTest::addColumn<QString>("web");
    QTest::addColumn<QString>("mail");
    const QString productWeb = Text(DistributionAddresses::ProductWeb);
    const QString productMail = Text(DistributionAddresses::ProductMail);
    const QString makerWeb = Text(DistributionAddresses::MakerWeb);
    const QString makerMail = Text(DistributionAddresses::MakerMail);
    // clang-format off
    QTest::newRow("0")              << "1.8.0.0" << true  << 0x1325 << true  << productWeb << productMail;
    QTest::newRow("1")              << "1.8.0.1" << true  << 0x1525 << false << productWeb << productMail;
    QTest::newRow("2")              << "1.8.0.2" << true  << 0x1425 << false << QString() << QString();
    QTest::newRow("3")              << "1.8.0.3" << true  << 0x1625 << false << QString() << QString();
    QTest::newRow("4, this program") << "1.8.0.4" << true << 0x1525 << false << makerWeb << makerMail;
    QTest::newRow("5")              << "1.8.0.5" << true  << 0x1725 << false << QString() << QString();
    QTest::newRow("commas")         << "1,8,0,4" << true  << 0x1525 << false << makerWeb << makerMail;
    QTest::newRow("dots win over commas") << "1.8,0,4" << false << 0x1325 << false << QString() << QString();
    QTest::newRow("another build")  << "1.8.0.40" << false << 0x1325 << false << QString() << QString();
    QTest::newRow("rest after the third separator") << "1.8.0.4.1" << false << 0x1325 << false << QString() << QString();
    QTest::newRow("three parts")    << "1.8.4"   << false << 0x1325 << false << QString() << QString();
    QTest::newRow("no separator")   << "1804"    << false << 0x1325 << false << QString() << QString();
    QTest::newRow("no version block") << "<info not available>" << false << 0x1325 << false << QString() << QString();
    // clang-format on
}

void TestVersionBlock::variants() {
    QFETCH(QString, fileVersion);
    QFETCH(bool, known);
    QFETCH(int, distributorCode);
    QFETCH(bool, fullFeatures);
    QFETCH(QString, web);
    QFETCH(QString, mail);
    const auto parts = VersionBlock::SplitFileVersion(fileVersion.toStdString());
    const DistributionVariant variant =
        SelectDistribution(parts ? (*parts)[3] : std::string(VersionBlock::NotAvailable));
    QCOMPARE(variant.Known, known);
    QCOMPARE(variant.DistributorCode, distributorCode);
    QCOMPARE(variant.FullFeatures, fullFeatures);
    QCOMPARE(QString::fromStdString(variant.WebAddress), web);
    QCOMPARE(QString::fromStdString(variant.MailAddress), mail);
}

void TestVersionBlock::files_data() {
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("fileVersion"); // empty: no block found
    const QByteArray elf = Elf(Block);
    QTest::newRow("block") << elf << "1,8,0,4";
    QTest::newRow("other section name") << Elf(Block, ".olg_versio") << QString();
    QTest::newRow("section without the marker") << Elf(Block.mid(1)) << QString();
    QTest::newRow("not an ELF file") << QByteArray("MZ\x90\0\x03\0\0\0", 8) + Block << QString();
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("header only") << elf.left(20) << QString();
    QTest::newRow("section table cut off") << elf.left(elf.size() - 40) << QString();
    QByteArray farBlock = elf;
    farBlock[elf.size() - 64 + 0x18 + 4] = '\x01'; // the block's offset far beyond the file
    QTest::newRow("block outside the file") << farBlock << QString();
    QByteArray badNames = elf;
    badNames[0x3E] = '\x05';
    QTest::newRow("names section beyond the table") << badNames << QString();
}

void TestVersionBlock::files() {
    QFETCH(QByteArray, file);
    QFETCH(QString, fileVersion);
    const auto section = VersionBlock::FindSection(Span(file), VersionBlock::SectionName);
    const auto values = section ? VersionBlock::Parse(*section) : std::nullopt;
    QCOMPARE(values.has_value(), !fileVersion.isEmpty());
    if (values) {
        QCOMPARE(QString::fromStdString(values->at("FileVersion")), fileVersion);
        QCOMPARE(QString::fromStdString(values->at("Comments")), QString());
    }
}

QTEST_GUILESS_MAIN(TestVersionBlock)
#include "test_version_block.moc"
