// The model dialogs as their constructors lay them out for a device's type code and firmware: tabs in order,
// the nested page controls, the DHCP switch, the logins that must differ, and the olg8w General tab.

#include "BoundCheckBox.h"
#include "BoundEdit.h"
#include "BoundSpinEdit.h"
#include "MaskedRadioButton.h"
#include "ModelForms.h"
#include "RecordingPrompts.h"
#include "TFormMain.h"
#include "TIPEdit.h"
#include "TOlgForm.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

#include <memory>

using namespace olg;
using olg::testing::RecordingPrompts;

namespace {

QStringList Words(const char* text, char separator = ',') {
    return QString::fromUtf8(text).split(QLatin1Char(separator));
}

// The window is the dialogs' host; its exchange stays on loopback and is never used here.
struct Fixture {
    Fixture() {
        ExchangeSettings settings;
        settings.BindAddress = QHostAddress(QHostAddress::LocalHost);
        settings.BindPort = 0;
        settings.TargetAddress = QHostAddress(QHostAddress::LocalHost);
        settings.TargetPort = 9; // discard
        form = std::make_unique<TFormMain>(prompts, settings);
    }

    std::unique_ptr<TOlgForm> Dialog(quint32 type, const QByteArray& firmware) {
        TOLG device;
        device.SetValue(13, ParamValue::Integer(type));
        device.SetValue(12, ParamValue::Text(firmware.toStdString()));
        const int entry = form->Registry().FindDeviceType(device.Value(13));
        if (entry < 0)
            return nullptr;
        return CreateModelForm(form->Registry().Entry(entry).Model, *form, device, nullptr);
    }

    RecordingPrompts prompts;
    std::unique_ptr<TFormMain> form;
};

QStringList Tabs(const QTabWidget* control) {
    QStringList captions;
    for (int index = 0; index < control->count(); ++index)
        captions.append(control->tabText(index) +
                        (index == control->currentIndex() ? QStringLiteral("*") : QString()));
    return captions;
}

// "Name=Tab*|Tab;..." for every page control nested in the tabs, by name, the current tab starred.
QString Nested(const TOlgForm& dialog) {
    QStringList controls;
    for (const QTabWidget* control : dialog.PageControl->findChildren<QTabWidget*>())
        controls.append(control->objectName() + QLatin1Char('=') + Tabs(control).join(QLatin1Char('|')));
    controls.sort();
    return controls.join(QLatin1Char(';'));
}

QList<int> Ids(std::initializer_list<int> ids) {
    return QList<int>(ids);
}

} // namespace

class TestModelDialogs : public QObject {
    Q_OBJECT

private slots:
    void layout_data();
    void layout();
    void olg8wGeneral_data();
    void olg8wGeneral();
    void olg8wPort_data();
    void olg8wPort();
    void olg8nPowerUp_data();
    void olg8nPowerUp();
};

void TestModelDialogs::layout_data() {
    QTest::addColumn<quint32>("type");
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<QStringList>("tabs");
    QTest::addColumn<QString>("nested");
    QTest::addColumn<bool>("dhcp");
    QTest::addColumn<QList<int>>("logins");

    const QStringList olg1n = Words("General*,Labels,Users accounts,Security,Supervision,Options");
    const QList<int> olg1nLogins = Ids({8, 18, 41});
    QTest::newRow("olg1n 1.3.9.9") << 0x01010100u << QByteArray("1.3.9.9") << olg1n + Words("Miscellaneous")
                                   << QString() << false << olg1nLogins;
    QTest::newRow("olg1n 1.4.0.0") << 0x01010100u << QByteArray("1.4.0.0")
                                   << olg1n + Words("Hidden Page,Miscellaneous") << QString() << true
                                   << olg1nLogins;
    QTest::newRow("olg1n unreadable version")
        << 0x01010100u << QByteArray("v1.4") << olg1n + Words("Miscellaneous") << QString() << false
        << olg1nLogins;

    const QList<int> olg4Logins = Ids({8, 18, 57, 61, 65, 69});
    const QStringList olg4a = Words("General*,Labels,Administrator account,User accounts,Security,Options");
    QTest::newRow("olg4a 1.1.9.9") << 0x04000100u << QByteArray("1.1.9.9") << olg4a + Words("Miscellaneous")
                                   << QString() << false << olg4Logins;
    QTest::newRow("olg4a 1.2.0.0") << 0x04000100u << QByteArray("1.2.0.0")
                                   << olg4a + Words("Hidden Page,Miscellaneous") << QString() << true
                                   << olg4Logins;
    const QStringList olg4n =
        Words("General*,Labels,Administrator account,Users accounts,Security,Supervision 1,"
              "Supervision 2,Supervision 3,Supervision 4,Options");
    QTest::newRow("olg4n 1.1.9.9") << 0x04010100u << QByteArray("1.1.9.9") << olg4n + Words("Miscellaneous")
                                   << QString() << false << olg4Logins;
    QTest::newRow("olg4n 1.2.0.0") << 0x04010100u << QByteArray("1.2.0.0")
                                   << olg4n + Words("Hidden Page,Miscellaneous") << QString() << false
                                   << olg4Logins;

    QList<int> olg8aLogins = Ids({8, 18});
    for (int device = 0; device < 5; ++device)
        for (int user = 0; user < 8; ++user)
            olg8aLogins.append(42 + 100 * device + 4 * user);
    const QString group = QStringLiteral("Device 1|Device 2|Device 3|Device 4|Device 5");
    const QString olg8aNested = QStringLiteral("AccountControl=Group*|%1;LabelControl=Group*|%1;"
                                               "MiscControl=Device 1*|Device 2|Device 3|Device 4|Device 5")
                                    .arg(group);
    const QStringList olg8a = Words("General*,Labels,Accounts,Security,Options");
    QTest::newRow("olg8a 1.1.9.9") << 0x08000100u << QByteArray("1.1.9.9") << olg8a + Words("Miscellaneous ")
                                   << olg8aNested << false << olg8aLogins;
    QTest::newRow("olg8a 1.2.0.0") << 0x08000100u << QByteArray("1.2.0.0")
                                   << olg8a + Words("Hidden Page,Miscellaneous ") << olg8aNested << false
                                   << olg8aLogins;

    const QString olg8nNested = QStringLiteral(
        "AccountControl=Administrator*|Users;OptionControl=Default Power Up*| Delay before Restart ;"
        "SupervControl=Supervision 1*|Supervision 2|Supervision 3|Supervision 4|Supervision 5|"
        "Supervision 6|Supervision 7|Supervision 8");
    const QStringList olg8n = Words("General*,Labels,Accounts,Security,Supervision,Options");
    const QList<int> olg8nLogins = Ids({8, 18, 57, 61, 65, 69, 157, 161, 165, 169});
    QTest::newRow("olg8n 1.1.9.9") << 0x08010100u << QByteArray("1.1.9.9") << olg8n + Words("Miscellaneous")
                                   << olg8nNested << false << olg8nLogins;
    QTest::newRow("olg8n 1.2.0.0") << 0x08010100u << QByteArray("1.2.0.0")
                                   << olg8n + Words("Hidden Page,Miscellaneous") << olg8nNested << false
                                   << olg8nLogins;

    const QStringList olg8k = Words("General*,Labels,Accounts,Security,Miscellaneous");
    const QString olg8kNested = QStringLiteral("AccountControl=Administrator*|Users");
    const QList<int> olg8kLogins = Ids({8, 57, 61, 65, 69, 157, 161, 165, 169});
    QTest::newRow("olg8k 1.1.9.9") << 0x08020100u << QByteArray("1.1.9.9") << olg8k << olg8kNested << false
                                   << olg8kLogins;
    QTest::newRow("olg8k 1.2.0.0") << 0x08020100u << QByteArray("1.2.0.0") << olg8k << olg8kNested << false
                                   << olg8kLogins;

    const QStringList olg8w = Words("General*");
    const QList<int> olg8wLogins = Ids({8, 18});
    for (const quint32 type : {0x04030100u, 0x08030100u, 0x08030000u, 0x04030200u, 0x08030200u})
        QTest::addRow("olg8w %08x", type)
            << type << QByteArray("2.0.0.3 build 17") << olg8w << QString() << true << olg8wLogins;
}

void TestModelDialogs::layout() {
    QFETCH(quint32, type);
    QFETCH(QByteArray, firmware);
    QFETCH(QStringList, tabs);
    QFETCH(QString, nested);
    QFETCH(bool, dhcp);
    QFETCH(QList<int>, logins);

    Fixture fixture;
    const std::unique_ptr<TOlgForm> dialog = fixture.Dialog(type, firmware);
    QVERIFY(dialog != nullptr);
    QCOMPARE(Tabs(dialog->PageControl), tabs);
    QCOMPARE(Nested(*dialog), nested);
    QCOMPARE(!dialog->DHCP->isHidden(), dhcp);
    QCOMPARE(QList<int>(dialog->LoginIds().begin(), dialog->LoginIds().end()), logins);
    // The HTTP switch is offered by every model but the group of five and olg8w.
    QCOMPARE(dialog->http_authorized->isHidden(), type == 0x08000100u || tabs.size() == 1);
    QCOMPARE(dialog->AvanceButton->isHidden(), tabs.size() == 1);
    // A device text longer than can be typed shows whole in every edit, and an untouched one goes back whole.
    TOLG texts;
    const QList<BoundEdit*> edits = dialog->findChildren<BoundEdit*>();
    for (const BoundEdit* edit : edits)
        texts.SetValue(edit->Tag().Id(), ParamValue::Text('/' + std::string(39, 'n')));
    dialog->LoadComponents(texts);
    dialog->StoreComponents(texts);
    for (const BoundEdit* edit : edits) {
        QCOMPARE(edit->text().size(), 40);
        QCOMPARE(texts.Value(edit->Tag().Id()).AsText().size(), 40u);
    }
}

void TestModelDialogs::olg8wGeneral_data() {
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<bool>("choice");
    QTest::addColumn<QString>("portLabel");

    QTest::newRow("1.9.9.9") << QByteArray("1.9.9.9") << false << QStringLiteral("Port Number :");
    QTest::newRow("2.0.0.0") << QByteArray("2.0.0.0") << true << QStringLiteral("Port Number :");
    QTest::newRow("2.0.0.2") << QByteArray("2.0.0.2") << true << QStringLiteral("Port Number :");
    QTest::newRow("2.0.0.3 with a build note")
        << QByteArray("2.0.0.3 build 17") << true << QStringLiteral("HTTP Port Number");
    QTest::newRow("3.0.0.0") << QByteArray("3.0.0.0") << true << QStringLiteral("HTTP Port Number");
    QTest::newRow("unreadable") << QByteArray("beta 2") << false << QStringLiteral("Port Number :");
}

void TestModelDialogs::olg8wGeneral() {
    QFETCH(QByteArray, firmware);
    QFETCH(bool, choice);
    QFETCH(QString, portLabel);

    Fixture fixture;
    const std::unique_ptr<TOlgForm> dialog = fixture.Dialog(0x08030200u, firmware);
    QCOMPARE(!dialog->https_access->isHidden(), choice);
    QCOMPARE(!dialog->http_access->isHidden(), choice);
    QCOMPARE(dialog->PortLabel->text(), portLabel);
    // The port stays reachable: in its own group until the label moves it into the configuration group.
    const bool moved = portLabel.startsWith(QStringLiteral("HTTP"));
    QCOMPARE(dialog->Port->parentWidget(),
             moved ? static_cast<QWidget*>(dialog->ConfigBox) : dialog->PortBox);
    QCOMPARE(dialog->PortBox->isHidden(), moved);
    QCOMPARE(dialog->DNS1->parentWidget(), static_cast<QWidget*>(dialog->IPBox));
    QCOMPARE(dialog->DNS2->Tag().Id(), 15);
    QCOMPARE(dialog->VersionEdit->Tag().Id(), 12);
    QVERIFY(dialog->VersionEdit->isReadOnly());
}

void TestModelDialogs::olg8wPort_data() {
    QTest::addColumn<QByteArray>("firmware");
    QTest::addColumn<int>("flags"); // parameter 6 as loaded
    QTest::addColumn<bool>("enabled");

    QTest::newRow("HTTPS loaded") << QByteArray("2.0.0.0") << 0x83 << false;
    QTest::newRow("HTTP loaded") << QByteArray("2.0.0.3") << 0x03 << true;
    // Without the choice on the form, the port is never locked by a bit the user cannot change.
    QTest::newRow("HTTPS bit on older firmware") << QByteArray("1.9.9.9") << 0x83 << true;
}

void TestModelDialogs::olg8wPort() {
    QFETCH(QByteArray, firmware);
    QFETCH(int, flags);
    QFETCH(bool, enabled);

    Fixture fixture;
    const std::unique_ptr<TOlgForm> dialog = fixture.Dialog(0x08030100u, firmware);
    TOLG record;
    record.SetValue(6, ParamValue::Integer(flags));
    dialog->LoadComponents(record);
    QCOMPARE(dialog->Port->isEnabled(), enabled);
    if (dialog->http_access->isHidden())
        return;
    dialog->https_access->click();
    QVERIFY(!dialog->Port->isEnabled());
    dialog->http_access->click();
    QVERIFY(dialog->Port->isEnabled());
}

void TestModelDialogs::olg8nPowerUp_data() {
    QTest::addColumn<int>("before"); // parameter 80: sockets 1-4 in the low byte, 5-8 in the high byte
    QTest::addColumn<int>("after");  // once Off is chosen for socket 6 (bits 10-11 := binary 10)

    QTest::newRow("from Last, a field matching no button kept") << 0x4321 << 0x4B21;
    QTest::newRow("from a field matching no button") << 0x0C00 << 0x0800;
    QTest::newRow("all bits set") << 0xFFFF << 0xFBFF;
    QTest::newRow("already Off") << 0x0800 << 0x0800;
}

void TestModelDialogs::olg8nPowerUp() {
    QFETCH(int, before);
    QFETCH(int, after);

    Fixture fixture;
    const std::unique_ptr<TOlgForm> dialog = fixture.Dialog(0x08010100u, "1.2.0.0");
    dialog->LoadControls(0); // as a run starts: the radio buttons of each field become one group
    TOLG record;
    record.SetValue(80, ParamValue::Integer(before));
    dialog->LoadComponents(record);
    dialog->findChild<QRadioButton*>(QStringLiteral("LMDRadioButton37"))->click();
    dialog->StoreComponents(record);
    QCOMPARE(record.Value(80).AsInteger(), after);
    // The choice of one socket leaves the others' as loaded.
    QCOMPARE(dialog->findChild<QRadioButton*>(QStringLiteral("LMDRadioButton1"))->isChecked(),
             (before & 3) == 1);
}

QTEST_MAIN(TestModelDialogs)
#include "test_model_dialogs.moc"
