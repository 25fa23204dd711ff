// The distribution variant from the file version of the version block.

#include "DistributionAddresses.h"
#include "DistributionVariant.h"
#include "VersionBlock.h"

#include <QTest>

using namespace olg;

namespace {

QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

class TestVersionBlock : public QObject {
    Q_OBJECT

private slots:
    void variants_data();
    void variants();
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

QTEST_GUILESS_MAIN(TestVersionBlock)
#include "test_version_block.moc"
