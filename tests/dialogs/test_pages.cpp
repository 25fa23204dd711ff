// The configuration pages offscreen: what a loaded record shows and enables, what their own handlers do,
// and what a store writes back, loaded and stored through the owner's walk as the dialog does it.

#include "BoundCheckBox.h"
#include "BoundEdit.h"
#include "BoundSpinEdit.h"
#include "ComponentOwner.h"
#include "CounterEdit.h"
#include "LimitedEdit.h"
#include "PermitRadioButton.h"
#include "THidden.h"
#include "TIPEdit.h"
#include "TLab.h"
#include "TMisc.h"
#include "TMyCheckBox.h"
#include "TRack.h"
#include "TSecurity.h"
#include "TSuperv.h"

#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

using namespace olg;

namespace {

// A page control, the dialog's component list and its record.
struct Host {
    QTabWidget tabs;
    ComponentOwner owner;
    TOLG record;

    void Set(int id, std::int64_t value) { record.SetValue(id, ParamValue::Integer(value)); }
    void SetText(int id, const char* text) { record.SetValue(id, ParamValue::Text(text)); }
    std::int64_t Int(int id) const { return record.Value(id).AsInteger(); }
    void Load() { owner.LoadComponents(record); }
    void Store() { owner.StoreComponents(record); }
};

// A column of the current data row, where QFETCH cannot stand (inside an expression).
template <class T> T Fetch(const char* column) {
    return *static_cast<T*>(QTest::qData(column, qMetaTypeId<T>()));
}

int IdOf(QObject* control) {
    BoundControl* bound = ComponentOwner::Bound(control);
    return bound != nullptr ? bound->Tag().Id() : 0;
}

// The eight boxes of an account row as a bit mask, socket j in bit j - 1, checked or enabled.
int Checked(const TRack& page, int row, bool enabled = false) {
    int bits = 0;
    for (int j = 1; j <= 8; ++j)
        bits |= (enabled ? page.Box(row, j)->isEnabled() : page.Box(row, j)->isChecked()) ? 1 << (j - 1) : 0;
    return bits;
}
int Enabled(const TRack& page, int row) {
    return Checked(page, row, true);
}

} // namespace

class TestPages : public QObject {
    Q_OBJECT

private slots:
    void supervision_data();
    void supervision();
    void supervisionStore();
    void security_data();
    void security();
    void hidden_data();
    void hidden();
    void hiddenUrl_data();
    void hiddenUrl();
    void counters_data();
    void counters();
    void labels_data();
    void labels();
    void accounts_data();
    void accounts();
    void accountsEditing();
};

void TestPages::supervision_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("ping");
    QTest::addColumn<bool>("scan");
    QTest::addColumn<bool>("portEnabled");
    QTest::addColumn<bool>("intervalAndRebootEnabled");

    QTest::newRow("nothing watched") << 0x00 << false << false << false << false;
    QTest::newRow("ping") << 0x01 << true << false << false << true;
    QTest::newRow("scan") << 0x02 << false << true << true << true;
    QTest::newRow("both, other bits") << 0xA3 << true << true << true << true;
}

void TestPages::supervision() {
    QFETCH(int, flags);
    Host host;
    TSuperv page(host.owner, &host.tabs, QStringLiteral("Supervision 1"), 5, SupervArguments{28});
    host.Set(29, flags);
    host.Load();

    QCOMPARE(page.Ping()->isChecked(), Fetch<bool>("ping"));
    QCOMPARE(page.Scan()->isChecked(), Fetch<bool>("scan"));
    QFETCH(bool, portEnabled);
    QCOMPARE(page.Port()->isEnabled(), portEnabled);
    QCOMPARE(page.PortLabel()->isEnabled(), portEnabled);
    QFETCH(bool, intervalAndRebootEnabled);
    for (QWidget* widget :
         std::initializer_list<QWidget*>{page.Interval(), page.IntervalLabel(), page.RebootBox(),
                                         page.Count(), page.RebootDelay(), page.FirstRequestDelay()})
        QCOMPARE(widget->isEnabled(), intervalAndRebootEnabled);
    QVERIFY(page.Address()->isEnabled());
    host.Store();
    QCOMPARE(host.Int(29), flags);
}

void TestPages::supervisionStore() {
    Host host;
    TSuperv page(host.owner, &host.tabs, QStringLiteral("Supervision 1"), 5, SupervArguments{28});
    QCOMPARE(host.tabs.tabText(0), QStringLiteral("Supervision 1"));
    host.Set(28, 0x0A000001);
    host.Set(29, 0xA3);
    for (int id = 30; id <= 34; ++id)
        host.Set(id, id * 10);
    host.Load();
    QCOMPARE(page.Address()->Text(), QStringLiteral("10.0.0.1"));
    QCOMPARE(page.Port()->value(), 300);
    QCOMPARE(page.Interval()->value(), 310);
    QCOMPARE(page.Count()->value(), 320);
    // The second field of the reboot box is the seventh parameter, the third the sixth.
    QCOMPARE(page.RebootDelay()->value(), 340);
    QCOMPARE(page.FirstRequestDelay()->value(), 330);

    page.Scan()->setChecked(false);
    QVERIFY(!page.Port()->isEnabled());
    QVERIFY(page.Interval()->isEnabled() && page.RebootBox()->isEnabled());
    page.Ping()->setChecked(false);
    page.RebootDelay()->setValue(0);
    page.Count()->setValue(70000);
    host.Store();
    QCOMPARE(host.Int(29), 0xA0);
    QCOMPARE(host.Int(34), 1);
    QCOMPARE(host.Int(32 /* count */), 65535);
    QCOMPARE(host.Int(33), 330);
}

void TestPages::security_data() {
    QTest::addColumn<int>("before"); // loaded first, -1 for none
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("permit");
    QTest::addColumn<bool>("activated");

    QTest::newRow("permit, activated") << -1 << 0x03 << true << true;
    QTest::newRow("deny, activated") << -1 << 0x01 << false << true;
    QTest::newRow("permit only") << -1 << 0x02 << true << false;
    QTest::newRow("other bits survive") << -1 << 0x83 << true << true;
    QTest::newRow("deny loaded over permit") << 0x03 << 0x00 << false << false;
}

void TestPages::security() {
    QFETCH(int, before);
    QFETCH(int, flags);
    QFETCH(bool, permit);
    QFETCH(bool, activated);
    Host host;
    TSecurity page(host.owner, &host.tabs, QStringLiteral("Security"), 3, SecurityArguments{20, 8, 1});
    QCOMPARE(page.Rows().back().Label->text(), QStringLiteral("#8"));
    QCOMPARE(IdOf(page.Rows().at(3).Mask), 26);
    QCOMPARE(IdOf(page.Rows().at(3).Activated), 27);
    if (before >= 0) {
        host.Set(23, before);
        host.Load();
    }
    host.Set(21, 0x03); // row 1 keeps permit whatever row 2 shows
    host.Set(23, flags);
    host.Load();

    const TSecurity::Row& row = page.Rows().at(1);
    QCOMPARE(row.Permit->isChecked(), permit);
    QCOMPARE(row.Deny->isChecked(), !permit);
    QCOMPARE(row.Activated->isChecked(), activated);
    QVERIFY(page.Rows().at(0).Permit->isChecked());
    host.Store();
    QCOMPARE(host.Int(23), flags);

    // Choosing deny and clearing activated change only their own bits and only their own row.
    row.Deny->click();
    row.Activated->setChecked(false);
    QVERIFY(page.Rows().at(0).Permit->isChecked());
    host.Store();
    QCOMPARE(host.Int(23), flags & ~0x03);
    QCOMPARE(host.Int(21), 0x03);
}

void TestPages::hidden_data() {
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("authorized");
    QTest::addColumn<bool>("protect");
    QTest::addColumn<bool>("urlEnabled");
    QTest::addColumn<bool>("loginEnabled");

    QTest::newRow("bits 2 and 3 clear") << 0x93 << false << false << false << false;
    QTest::newRow("authorized") << 0x04 << true << false << true << false;
    QTest::newRow("protected only") << 0x08 << false << true << false << false;
    QTest::newRow("authorized and protected") << 0x9F << true << true << true << true;
}

void TestPages::hidden() {
    QFETCH(int, flags);
    QFETCH(bool, urlEnabled);
    QFETCH(bool, loginEnabled);
    Host host;
    THidden page(host.owner, &host.tabs, 6);
    QCOMPARE(host.tabs.tabText(0), QStringLiteral("Hidden Page"));
    host.Set(6, flags);
    host.Load();

    QCOMPARE(page.Authorized()->isChecked(), Fetch<bool>("authorized"));
    QCOMPARE(page.Protected()->isChecked(), Fetch<bool>("protect"));
    for (QWidget* widget : std::initializer_list<QWidget*>{page.UrlLabel(), page.Url(), page.ProtectedLabel(),
                                                           page.Protected()})
        QCOMPARE(widget->isEnabled(), urlEnabled);
    for (QWidget* widget : std::initializer_list<QWidget*>{page.LoginLabel(), page.Login(),
                                                           page.PasswordLabel(), page.Password()})
        QCOMPARE(widget->isEnabled(), loginEnabled);
    QCOMPARE(page.Password()->echoMode(), QLineEdit::Password);

    // Authorizing again brings the login back only for a protected page; the store touches bits 2 and 3 only.
    page.Authorized()->setChecked(true);
    QCOMPARE(page.Login()->isEnabled(), page.Protected()->isChecked());
    page.Protected()->setChecked(false);
    host.Store();
    QCOMPARE(host.Int(6), (flags & ~0x08) | 0x04);
}

void TestPages::hiddenUrl_data() {
    QTest::addColumn<QString>("loaded"); // a null text loads nothing
    QTest::addColumn<QString>("typed");  // "<" clears the field, other characters are typed at the end
    QTest::addColumn<QString>("shown");

    QTest::newRow("with slash") << QStringLiteral("/hide.htm") << QString() << QStringLiteral("/hide.htm");
    QTest::newRow("without slash") << QStringLiteral("hide.htm") << QString() << QStringLiteral("/hide.htm");
    QTest::newRow("typed into empty") << QString() << QStringLiteral("ab") << QStringLiteral("/ab");
    QTest::newRow("cleared") << QStringLiteral("/x") << QStringLiteral("<") << QStringLiteral("/");
}

void TestPages::hiddenUrl() {
    QFETCH(QString, loaded);
    QFETCH(QString, typed);
    Host host;
    THidden page(host.owner, &host.tabs, 0);
    if (!loaded.isNull()) {
        host.SetText(17, loaded.toLatin1().constData());
        host.Load();
    }
    page.Url()->setFocus();
    for (QChar c : typed) {
        if (c == QLatin1Char('<'))
            page.Url()->clear();
        else
            QTest::keyClick(page.Url(), c.toLatin1());
    }
    QFETCH(QString, shown);
    QCOMPARE(page.Url()->text(), shown);
    QCOMPARE(page.Url()->cursorPosition(), shown.size());
    host.Store();
    QCOMPARE(QString::fromStdString(host.record.Value(17).AsText()), shown);
}

void TestPages::counters_data() {
    QTest::addColumn<int>("sockets");
    QTest::addColumn<int>("firstSocket");
    QTest::addColumn<QString>("lastLabel");

    QTest::newRow("one socket") << 1 << 1 << QStringLiteral("Number of OFF/ON Switching :");
    QTest::newRow("four sockets") << 4 << 1 << QStringLiteral("Number of OFF/ON Switching 4:");
    QTest::newRow("eight from 3") << 8 << 3 << QStringLiteral("Number of OFF/ON Switching 10:");
}

void TestPages::counters() {
    QFETCH(int, sockets);
    Host host;
    TMisc page(host.owner, &host.tabs, QStringLiteral("Miscellaneous"), 10,
               MiscArguments{81, sockets, Fetch<int>("firstSocket")});
    QCOMPARE(int(page.Switchings().size()), sockets);
    QCOMPARE(page.Switchings().back().Label->text(), Fetch<QString>("lastLabel"));
    host.SetText(12, "1.4.0.0");
    host.Set(81, 17);
    host.Set(81 + sockets, static_cast<std::int32_t>(4000000000u)); // as the record keeps it
    host.Load();
    QCOMPARE(page.Version()->text(), QStringLiteral("1.4.0.0"));
    QCOMPARE(page.PowerUp()->text(), QStringLiteral("17"));
    QCOMPARE(page.Switchings().back().Edit->text(), QStringLiteral("4000000000"));
    if (sockets > 1)
        QVERIFY(page.Switchings().front().Edit->text().isEmpty()); // not reported
    host.Store();
    QCOMPARE(host.Int(81 + sockets), static_cast<std::int32_t>(4000000000u));
    for (CounterEdit* edit : {page.Version(), page.PowerUp(), page.Switchings().back().Edit}) {
        QVERIFY(edit->isReadOnly());
        QVERIFY(!(edit->focusPolicy() & Qt::TabFocus));
    }
}

void TestPages::labels_data() {
    QTest::addColumn<int>("layout");
    QTest::addColumn<int>("baseId");
    QTest::addColumn<int>("deviceNameId");
    QTest::addColumn<QList<int>>("socketIds");

    QTest::newRow("group member") << 0 << 39 << 39 << QList<int>{41, 45, 49, 53, 57, 61, 65, 69};
    QTest::newRow("stand-alone") << 1 << 56 << 7 << QList<int>{56, 60, 64, 68, 156, 160, 164, 168};
    QTest::newRow("unknown layout") << 2 << 56 << 0 << QList<int>(8, 0);
}

void TestPages::labels() {
    QFETCH(QList<int>, socketIds);
    Host host;
    TLab page(host.owner, &host.tabs, QStringLiteral("Labels"), 1,
              LabArguments{Fetch<int>("baseId"), 8, 1, Fetch<int>("layout")});
    QCOMPARE(IdOf(page.DeviceName()), Fetch<int>("deviceNameId"));
    for (int k = 0; k < 8; ++k)
        QCOMPARE(IdOf(page.Sockets().at(k).Name), socketIds.at(k));
    QCOMPARE(page.Sockets().back().Label->text(), QStringLiteral("Socket 8:"));

    // At most 32 characters can be typed, but a longer name from the device survives the round trip.
    LimitedEdit* edit = page.Sockets().front().Name;
    edit->setFocus();
    QTest::keyClicks(edit, QString(40, QLatin1Char('a')));
    QCOMPARE(edit->text().size(), 32);
    const std::string longName(40, 'b');
    edit->LoadValue(ParamValue::Text(longName));
    QTest::keyClick(edit, Qt::Key_End);
    QTest::keyClick(edit, 'c');
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QCOMPARE(edit->text(), QString(39, QLatin1Char('b')));
    ParamValue stored;
    edit->StoreValue(stored);
    QCOMPARE(stored.AsText(), std::string(39, 'b'));
}

void TestPages::accounts_data() {
    QTest::addColumn<int>("member");
    QTest::addColumn<QList<int>>("sockets"); // loaded flags of rows 1 to 8
    QTest::addColumn<QList<int>>("shown");
    QTest::addColumn<int>("enabledLow");  // enabled boxes of rows 1 to 4, socket j in bit j - 1
    QTest::addColumn<int>("enabledHigh"); // of rows 5 to 8
    QTest::addColumn<bool>("fieldsEnabled");

    const QList<int> loaded{0x81, 0x02, 0x30, 0x00, 0x81, 0x20, 0x03, 0xF0};
    QTest::newRow("deactivated") << 0x00 << loaded << loaded << 0xFF << 0xFF << false;
    QTest::newRow("activated") << 0x01 << loaded << loaded << 0xFF << 0xFF << true;
    QTest::newRow("twin mode") << 0x03 << loaded << QList<int>{0x11, 0x22, 0x00, 0x00, 0x88, 0x22, 0x00, 0xFF}
                               << 0x0F << 0x0F << true;
    QTest::newRow("twin mode, loaded again")
        << 0x03 << loaded << QList<int>{0x11, 0x22, 0x00, 0x00, 0x88, 0x22, 0x00, 0xFF} << 0x0F << 0x0F
        << true;
    QTest::newRow("twin mode, deactivated")
        << 0x02 << loaded << QList<int>{0x11, 0x22, 0x00, 0x00, 0x88, 0x22, 0x00, 0xFF} << 0x00 << 0x00
        << false;
}

void TestPages::accounts() {
    QFETCH(int, member);
    QFETCH(QList<int>, sockets);
    QFETCH(QList<int>, shown);
    QFETCH(bool, fieldsEnabled);
    QFETCH(int, enabledLow);
    QFETCH(int, enabledHigh);
    Host host;
    TRack page(host.owner, &host.tabs, QStringLiteral("Device 2"), 1, RackArguments{140, 1, MemberLayout});
    host.Set(140, member);
    for (int i = 1; i <= 8; ++i)
        host.Set(144 + 4 * (i - 1), sockets.at(i - 1));
    host.Load();
    if (QByteArray(QTest::currentDataTag()).endsWith("again"))
        host.Load(); // as each reply of a read loads the page again

    QCOMPARE(page.DeviceActivated()->isChecked(), (member & 1) != 0);
    QCOMPARE(page.TwinMode()->isChecked(), (member & 2) != 0);
    QCOMPARE(page.TwinMode()->isEnabled(), fieldsEnabled);
    QCOMPARE(page.Header()->isEnabled(), fieldsEnabled);
    QCOMPARE(page.SocketNumber(8)->isEnabled(), fieldsEnabled);
    QVERIFY(page.Frame()->isEnabled());
    for (int i = 1; i <= 8; ++i) {
        QCOMPARE(Checked(page, i), shown.at(i - 1));
        QCOMPARE(Enabled(page, i), fieldsEnabled ? (i <= 4 ? enabledLow : enabledHigh) : 0);
        QCOMPARE(page.Row(i).Login->isEnabled(), fieldsEnabled);
        QCOMPARE(page.Row(i).PasswordLabel->isEnabled(), fieldsEnabled);
    }
    host.Store();
    for (int i = 1; i <= 8; ++i)
        QCOMPARE(host.Int(144 + 4 * (i - 1)), shown.at(i - 1));
    QCOMPARE(host.Int(140), member);
}

void TestPages::accountsEditing() {
    Host host;
    TRack member(host.owner, &host.tabs, QStringLiteral("Device 1"), 1, RackArguments{40, 1, MemberLayout});
    Host standAlone;
    TRack alone(standAlone.owner, &standAlone.tabs, QStringLiteral("Users"), 1,
                RackArguments{56, 1, StandAloneLayout});
    QVERIFY(alone.TwinMode() == nullptr && alone.DeviceActivated() == nullptr);
    QCOMPARE(IdOf(alone.Row(4).Login), 69);
    QCOMPARE(IdOf(alone.Row(8).Login), 169);
    QCOMPARE(IdOf(alone.Row(5).Login), 157);
    QCOMPARE(IdOf(alone.Row(5).Password), 158);
    QCOMPARE(IdOf(alone.Box(5, 8)), 159);
    QCOMPARE(alone.Row(1).Password->echoMode(), QLineEdit::Password);

    // Socket flags 0x81 of account 1: unchecking socket 8 stores 0x01.
    host.Set(44, 0x81);
    host.Load();
    QCOMPARE(Checked(member, 1), 0x81);
    member.Box(1, 8)->setChecked(false);
    host.Store();
    QCOMPARE(host.Int(44), 0x01);

    // In twin mode a box drags its partner along; leaving twin mode frees sockets 5 to 8 as they are.
    member.TwinMode()->setChecked(true);
    member.Box(1, 2)->click();
    QCOMPARE(Checked(member, 1), 0x33);
    member.TwinMode()->setChecked(false);
    QCOMPARE(Enabled(member, 1), 0xFF);
    member.Box(1, 3)->click();
    QCOMPARE(Checked(member, 1), 0x37);
    // Re-activating the device enables every box, also in twin mode, and the pairing goes on.
    member.TwinMode()->setChecked(true);
    member.DeviceActivated()->setChecked(false);
    member.DeviceActivated()->setChecked(true);
    QCOMPARE(Enabled(member, 1), 0xFF);
    member.Box(1, 5)->click();
    QCOMPARE(Checked(member, 1), 0x66);
}

QTEST_MAIN(TestPages)
#include "test_pages.moc"
