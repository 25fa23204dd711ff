// The Properties dialog against olgsim on loopback: what each way of running and ending it writes to the
// device, the login check, a silent device, and which tabs show.

#include "SimulatorProcess.h"
#include "TestDialogHost.h"

#include "BoundCheckBox.h"
#include "BoundSpinEdit.h"
#include "Datagram.h"
#include "MaskedRadioButton.h"
#include "SplitRequest.h"
#include "THidden.h"
#include "TIPEdit.h"
#include "TLab.h"
#include "TMisc.h"
#include "TOlgForm.h"
#include "TRack.h"
#include "TSecurity.h"
#include "TSuperv.h"
#include "ui_TestTabs.h"

#include <QLineEdit>
#include <QNetworkDatagram>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

using namespace olg;
using namespace olg::testing;

namespace {

constexpr std::uint32_t Olg1n = 0x01010100;
const QString Device =
    QStringLiteral("type=0x01010100,mac=00-0A-95-9D-68-16,fw=1.4.0.0,param8=admin,param18=ftp");
constexpr int TimeoutMs = 10000;

// The dialog every model builds on, with tabs of its own from a form: a nested tab widget included.
class TestForm : public TOlgForm {
public:
    TestForm(DialogHost& host, bool generalOnly) : TOlgForm(host) {
        if (generalOnly)
            return;
        Ui::TestTabs form;
        QWidget holder;
        form.setupUi(&holder);
        AddFormTabs(form.Tabs);
        // One of each page, where an olg1n has them; the labels and accounts pages on ids it does not have.
        // The page control owns the pages.
        new TSecurity(*this, PageControl, QStringLiteral("Security"), 3, SecurityArguments{30, 4, 1});
        new TSuperv(*this, PageControl, QStringLiteral("Supervision"), 4, SupervArguments{20});
        new TLab(*this, PageControl, QStringLiteral("Sockets"), 5, LabArguments{300, 8, 1, MemberLayout});
        new TRack(*this, PageControl, QStringLiteral("Users"), 6, RackArguments{400, 1, MemberLayout});
        new THidden(*this, PageControl, 7);
        new TMisc(*this, PageControl, QStringLiteral("Miscellaneous"), 8, MiscArguments{71, 1, 1});
        AddLogins(SharedRegistry().Entry(SharedRegistry().FindDeviceType(ParamValue::Integer(Olg1n))).Params);
    }
};

bool Writable(int id, const ParamValue& type) {
    const std::uint8_t kind = SharedRegistry().ParamKind(id, type);
    return SharedRegistry().HasParam(id, type) && SharedRegistry().ParamAccess(id, type) != AccessRead &&
           kind >= KindIp && kind <= KindU32;
}

// Writes values nobody else uses into every writable parameter but the device's own address settings, from
// a socket of its own, so that a parameter the dialog writes afterwards shows in the state file.
bool Tamper(const TOLG& device, quint16 port) {
    TOLG record;
    record.Identity = device.Identity;
    record.SetValue(13, device.TypeValue());
    for (int id = 4; id <= SharedRegistry().MaxParamId(device.TypeValue()); ++id) {
        if (!Writable(id, device.TypeValue()))
            continue;
        switch (SharedRegistry().ParamKind(id, device.TypeValue())) {
        case KindText:
            record.SetValue(id, ParamValue::Text("t" + std::to_string(id)));
            break;
        case KindIp:
            record.SetValue(id, ParamValue::Integer(0x0AEEEE00 + id % 250));
            break;
        default:
            record.SetValue(id, ParamValue::Integer(0xEE));
            break;
        }
    }
    const SplitRequest request =
        BuildSplitRequest(SplitOperation::WriteAll, record, SharedRegistry(), DefaultDistributorCode);
    QUdpSocket socket;
    socket.bind(QHostAddress(QHostAddress::LocalHost), 0);
    for (const TSendBuf& datagram : request.Datagrams) {
        socket.writeDatagram(Bytes(datagram), QHostAddress(QHostAddress::LocalHost), port);
        if (!socket.waitForReadyRead(TimeoutMs))
            return false;
        socket.receiveDatagram();
    }
    return true;
}

int VisibleTabs(const QTabWidget* tabs) {
    int count = 0;
    for (int index = 0; index < tabs->count(); ++index)
        count += tabs->isTabVisible(index) ? 1 : 0;
    return count;
}

} // namespace

class TestOlgForm : public QObject {
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void radioGroups_data();
    void radioGroups();
    void failedSend();
};

void TestOlgForm::runs_data() {
    QTest::addColumn<bool>("loaded");    // ShowLoaded on a record read in full, else ShowGeneral
    QTest::addColumn<bool>("silent");    // the dialog's device never answers
    QTest::addColumn<bool>("bare");      // a dialog with the General tab only
    QTest::addColumn<QString>("device"); // keys added to the simulated device
    // port: the General tab's port becomes 4321; user=X: the user login becomes X; tamper: the device's
    // values change behind the dialog's back; dhcp: checks what DHCP disables; impatient: Esc
    // during the options read; options, ok, cancel: the
    // buttons; enter, escape: the keys.
    QTest::addColumn<QStringList>("script");
    QTest::addColumn<QString>("tabs"); // visible at the end: general, all, allButLast
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("written"); // none, general or all (the writable ids)
    QTest::addColumn<QStringList>("messages");

    const auto text = [](const char* latin1) { return QString::fromLatin1(latin1); };
    const auto script = [](const char* steps) { return QString::fromLatin1(steps).split(QLatin1Char(' ')); };
    const QString notResponding = QStringLiteral("Device not responding");
    QTest::newRow("general run writes the general ids only")
        << false << false << false << QString() << script("port tamper enter") << text("general") << 1
        << text("general") << QStringList();
    QTest::newRow("options then OK writes every writable id")
        << false << false << false << QString() << script("port options tamper ok") << text("all") << 1
        << text("all") << QStringList();
    QTest::newRow("options and back again writes the general ids only")
        << false << false << false << QString() << script("port options options tamper ok") << text("general")
        << 1 << text("general") << QStringList();
    QTest::newRow("cancel writes nothing")
        << false << false << false << QString() << script("port dhcp options tamper escape") << text("all")
        << 0 << text("none") << QStringList();
    QTest::newRow("two equal logins block OK")
        << false << false << false << text(",param41=admin") << script("options tamper ok cancel")
        << text("all") << 0 << text("none") << QStringList{text("admin : Logins must be different!")};
    QTest::newRow("two empty logins block OK")
        << false << false << false << text(",param18=") << script("options user= tamper ok cancel")
        << text("all") << 0 << text("none") << QStringList{text(" : Logins must be different!")};
    QTest::newRow("logins made different pass")
        << false << false << false << text(",param41=admin") << script("port options user=guest tamper ok")
        << text("all") << 1 << text("all") << QStringList();
    QTest::newRow("silent device") << false << true << false << QString() << script("port impatient ok")
                                   << text("general") << 1 << text("none")
                                   << QStringList{notResponding, notResponding};
    QTest::newRow("loaded run shows every tab but the last")
        << true << false << false << QString() << script("port tamper ok") << text("allButLast") << 1
        << text("all") << QStringList();
    QTest::newRow("loaded run of a dialog with General only keeps it")
        << true << false << true << QString() << script("port tamper ok") << text("general") << 1
        << text("all") << QStringList();
}

void TestOlgForm::runs() {
    QFETCH(bool, loaded);
    QFETCH(bool, silent);
    QFETCH(bool, bare);
    QFETCH(QString, device);
    QFETCH(QStringList, script);
    QFETCH(QString, written);

    SimulatorProcess simulator;
    QVERIFY(simulator.Start({Device + device}));
    TestDialogHost host(simulator.Port());
    QObject target;
    const TServeur::ReplyHandler merge = [&host](const QString& sender, quint16 port,
                                                 const QByteArray& datagram, bool complete) {
        host.DeviceReply(sender, port, datagram, complete);
    };
    host.Serveur().Discover(&target, merge);
    QTRY_COMPARE_WITH_TIMEOUT(host.Devices().Size(), 1, TimeoutMs);
    int index = 0;
    if (silent) {
        // A device the simulator does not have: the same reply from another identity.
        QByteArray reply = host.lastReply;
        reply[static_cast<qsizetype>(SourceOffset + 7)] = static_cast<char>(reply[SourceOffset + 7] ^ 0x5A);
        host.DeviceReply(QStringLiteral("127.0.0.99"), 52389, reply, true);
        index = 1;
    }
    if (loaded)
        host.Serveur().ReadAll(host.Devices().At(0), &target, merge);
    const ParamValue type = host.Devices().At(0).TypeValue();
    // What the device held, with the script's edits: what every parameter it writes must hold afterwards.
    QJsonObject original = simulator.Params();
    QJsonObject before = original;
    // The hidden page shows its address with a leading slash, and so it goes back.
    const QString hiddenUrl = original.value(QStringLiteral("17")).toString();
    if (!bare && !hiddenUrl.startsWith(QLatin1Char('/')))
        original.insert(QStringLiteral("17"), QLatin1Char('/') + hiddenUrl);

    TestForm form(host, bare);
    form.SetDeviceIndex(index);
    QString tabsAtEnd;
    QTimer::singleShot(0, &form, [&] {
        for (const QString& step : script) {
            if (step == QStringLiteral("port")) {
                form.Port->setValue(4321);
                original.insert(QStringLiteral("4"), 4321);
            } else if (step.startsWith(QStringLiteral("user="))) {
                form.findChild<QLineEdit*>(QStringLiteral("UserLogin"))->setText(step.mid(5));
                original.insert(QStringLiteral("41"), step.mid(5));
            } else if (step == QStringLiteral("dhcp")) {
                // DHCP disables the address fields with their labels, unless it is hidden.
                const bool was = form.DHCP->isChecked();
                for (const bool hidden : {false, true}) {
                    form.DHCP->setHidden(hidden);
                    form.DHCP->setChecked(false);
                    form.DHCP->setChecked(true);
                    QCOMPARE(form.gateway->isEnabled(), hidden);
                    QCOMPARE(form.submaskLabel->isEnabled(), hidden);
                    form.DHCP->setChecked(false);
                    QVERIFY(form.ipaddress->isEnabled());
                }
                form.DHCP->show();
                form.DHCP->setChecked(was);
            } else if (step == QStringLiteral("impatient")) {
                // While the options are read the dialog stays open, with its buttons off and the hourglass
                // on.
                bool busy = false;
                QTimer::singleShot(20, &form, [&] {
                    busy = !form.OKBtn->isEnabled() && !form.CancelBtn->isEnabled() &&
                           QApplication::overrideCursor() != nullptr;
                    form.reject();
                });
                form.AvanceButton->click();
                QVERIFY(busy && form.isVisible());
            } else if (step == QStringLiteral("tamper")) {
                if (!Tamper(host.Devices().At(0), simulator.Port()))
                    break;
                before = simulator.Params();
            } else {
                if (step != QStringLiteral("options")) {
                    const int visible = VisibleTabs(form.PageControl);
                    tabsAtEnd = visible == 1                               ? QStringLiteral("general")
                                : visible == form.PageControl->count()     ? QStringLiteral("all")
                                : visible == form.PageControl->count() - 1 ? QStringLiteral("allButLast")
                                                                           : QString::number(visible);
                }
                if (step == QStringLiteral("enter") || step == QStringLiteral("escape")) {
                    // Typed where the caret stands in the address, as a user would.
                    QTest::keyClick(form.ipaddress->Box(1),
                                    step == QStringLiteral("enter") ? Qt::Key_Return : Qt::Key_Escape);
                    continue;
                }
                QPushButton* button = step == QStringLiteral("options") ? form.AvanceButton
                                      : step == QStringLiteral("ok")    ? form.OKBtn
                                                                        : form.CancelBtn;
                QVERIFY(button->isVisible() && button->isEnabled());
                button->click();
                if (button == form.AvanceButton)
                    QCOMPARE(form.AvanceButton->text(), form.Advanced() ? QStringLiteral("<<-- Options")
                                                                        : QStringLiteral("Options -->>"));
            }
        }
        // Whatever happened, the run ends.
        if (form.isVisible())
            form.done(-1);
    });
    const int result = loaded ? form.ShowLoaded() : form.ShowGeneral();

    QTEST(result, "result");
    QTEST(tabsAtEnd, "tabs");
    QTEST(host.prompts.errors, "messages");
    QCOMPARE(QApplication::overrideCursor(), nullptr);
    QCOMPARE(form.AvanceButton->isHidden(), loaded);
    const QJsonObject after = simulator.Params();
    for (int id = 1; id <= SharedRegistry().MaxParamId(type); ++id) {
        if (!Writable(id, type))
            continue;
        const QString key = QString::number(id);
        const bool write = written == QStringLiteral("all") || (written == QStringLiteral("general") &&
                                                                SharedRegistry().IsGeneralParam(id, type));
        QVERIFY2(
            after.value(key) == (write ? original : before).value(key),
            qPrintable(
                QStringLiteral("parameter %1: %2").arg(id).arg(after.value(key).toVariant().toString())));
    }
    // The list holds what was written.
    if (written != QStringLiteral("none"))
        QCOMPARE(host.Devices().At(index).Value(4).AsInteger(), 4321);
}

void TestOlgForm::radioGroups_data() {
    QTest::addColumn<int>("first");   // the delay of both sockets loaded before, 0 for none
    QTest::addColumn<int>("socket1"); // the delays of the two sockets loaded then
    QTest::addColumn<int>("socket2");
    QTest::addColumn<QString>("checked"); // socket 1's 5 and 10, socket 2's 5 and 10
    QTest::newRow("each socket its own choice") << 0 << 5 << 10 << QStringLiteral("1001");
    QTest::newRow("a value no button stands for shows none") << 0 << 7 << 5 << QStringLiteral("0010");
    QTest::newRow("loaded again over a choice") << 10 << 7 << 60 << QStringLiteral("0000");
}

void TestOlgForm::radioGroups() {
    QFETCH(int, first);
    QFETCH(int, socket1);
    QFETCH(int, socket2);
    // Two sockets' delays laid out in one panel, as in a table of rows: one exclusive choice per socket.
    TestDialogHost host(9);
    TOlgForm form(host);
    std::vector<MaskedRadioButton*> buttons;
    for (const int id : {72, 73}) {
        for (const int delay : {5, 10}) {
            buttons.push_back(new MaskedRadioButton(form.General));
            buttons.back()->SetTag(ControlTag::Choice(id, delay, 0xFF));
            form.AddComponent(buttons.back());
        }
    }
    form.LoadControls(0);
    TOLG record;
    auto load = [&](int value1, int value2) {
        record.SetValue(72, ParamValue::Integer(value1));
        record.SetValue(73, ParamValue::Integer(value2));
        form.LoadComponents(record);
    };
    if (first != 0)
        load(first, first);
    load(socket1, socket2);
    QString checked;
    for (const MaskedRadioButton* button : buttons)
        checked += button->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    QTEST(checked, "checked");
    // Storing keeps a value that no button stands for.
    form.StoreComponents(record);
    QCOMPARE(record.Value(72).AsInteger(), socket1);
    QCOMPARE(record.Value(73).AsInteger(), socket2);
}

void TestOlgForm::failedSend() {
    // A request that cannot leave (port 0 is refused) is reported by the exchange, and the dialog adds no
    // "Device not responding", neither after Options nor after OK.
    TestDialogHost host(0);
    TSendBuf reply;
    BuildHeader(reply, CommandRead, nullptr, DefaultDistributorCode);
    TSendBuf type;
    AppendBigEndian(type, Olg1n, 4);
    AppendItem(reply, 13, type.data(), type.size());
    host.DeviceReply(QStringLiteral("127.0.0.10"), 52389, Bytes(reply), true);
    TestForm form(host, false);
    form.SetDeviceIndex(0);
    QTimer::singleShot(0, &form, [&] {
        form.AvanceButton->click();
        form.OKBtn->click();
    });
    QCOMPARE(form.ShowGeneral(), 1);
    QCOMPARE(host.prompts.errors, QStringList(2, host.prompts.errors.value(0)));
    QVERIFY(host.prompts.errors.value(0).startsWith(QStringLiteral("Connection Error: ")));
}

QTEST_MAIN(TestOlgForm)
#include "test_olgform.moc"
