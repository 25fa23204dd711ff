// The parameter names the command line shows and takes, per model.

#include "ParamNames.h"

#include <QTest>

using namespace olg;

class TestParamNames : public QObject {
    Q_OBJECT

private slots:
    void names_data();
    void names();
};

void TestParamNames::names_data() {
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("id"); // -1: no parameter
    QTest::addColumn<bool>("password");
    QTest::addColumn<QString>("caption"); // the dialog page's tab

    // clang-format off
    QTest::newRow("general, letter case ignored") << "olg4n"   << "IP"                     << 2   << false << "";
    QTest::newRow("an id as typed")               << "olg4n"   << "42"                     << 42  << false << "Supervision 3";
    QTest::newRow("unknown name")                 << "olg4n"   << "colour"                 << -1  << false << "";
    QTest::newRow("form socket block")            << "olg4n"   << "socket2"                << 60  << false << "";
    QTest::newRow("form user password")           << "olg4n"   << "user1-password"         << 58  << true << "";
    QTest::newRow("numbered supervision")         << "olg4n"   << "superv2-port"           << 37  << false << "Supervision 2";
    QTest::newRow("single supervision")           << "olg1n"   << "superv-port"            << 22  << false << "Supervision";
    QTest::newRow("security mask")                << "olg4n"   << "security3"              << 24  << false << "Security";
    QTest::newRow("admin password")               << "olg1n"   << "admin-password"         << 9   << true << "";
    QTest::newRow("group member socket")          << "olg8a"   << "device2-socket1"        << 141 << false << "Device 2";
    QTest::newRow("group member password")        << "olg8a"   << "device1-user1-password" << 43  << true << "Device 1";
    QTest::newRow("stand-alone fifth user")       << "olg8n"   << "user5-password"         << 158 << true << "Users";
    QTest::newRow("restart delay of socket 5")    << "olg8n"   << "restart-delay5"         << 172 << false << "";
    QTest::newRow("dns on olg8w")                 << "olg8w"   << "dns2"                   << 15  << false << "";
    QTest::newRow("no sockets on olg8w")          << "olg8w"   << "socket1"                << -1  << false << "";
    QTest::newRow("unknown model, general name")  << "olg99"   << "gateway"                << 3   << false << "";
    // clang-format on
}

void TestParamNames::names() {
    QFETCH(QString, model);
    QFETCH(QString, text);
    QFETCH(int, id);
    QFETCH(bool, password);
    QFETCH(QString, caption);
    const ParamNames& names = ParamNames::ForModel(model.toStdString());
    QCOMPARE(names.IdOf(text.toStdString()).value_or(-1), id);
    QCOMPARE(names.IsPassword(id), password);
    QCOMPARE(QString::fromStdString(names.CaptionOf(id)), caption);
    if (id >= 0 && text.front().isLetter())
        QCOMPARE(QString::fromStdString(names.NameOf(id)), text.toLower());
}

QTEST_APPLESS_MAIN(TestParamNames)
#include "test_param_names.moc"
