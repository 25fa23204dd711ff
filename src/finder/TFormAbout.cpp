#include "TFormAbout.h"

#include "ApplicationTitle.h"
#include "TVersionInfo.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFrame>
#include <QGraphicsDropShadowEffect>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace olg {

namespace {

constexpr int TitlePoints = 22;
constexpr int IconSize = 32;

QLabel* NewLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A blue, underlined address that opens through the platform's browser, which hands "mailto:" to the mail
// program.
QLabel* NewLink(QWidget* parent, const char* name, const QString& text, const QString& target,
                WebBrowser& browser) {
    auto* label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    label->setTextFormat(Qt::RichText);
    label->setText(QStringLiteral("<a href=\"%1\" style=\"color: blue; text-decoration: underline\">%2</a>")
                       .arg(target.toHtmlEscaped(), text.toHtmlEscaped()));
    QObject::connect(label, &QLabel::linkActivated, label,
                     [&browser](const QString& link) { browser.Open(QUrl(link)); });
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    return label;
}

} // namespace

AboutFacts AboutFacts::Collect(PlatformServices& platform, const Distribution& distribution) {
    TVersionInfo version;
    version.GetInfo(platform.ExecutableFile());
    SystemInformation& system = platform.System();
    AboutFacts facts;
    facts.Title = ApplicationTitle();
    facts.FileVersion = version.FileVersion;
    facts.FileDescription = version.FileDescription;
    facts.LegalCopyright = version.LegalCopyright;
    facts.WebAddress = distribution.AboutWebAddress;
    facts.MailAddress = distribution.AboutMailAddress;
    facts.MemoryKB = system.TotalMemoryKB();
    facts.Processors = system.ProcessorCount();
    facts.ProcessorName = system.ProcessorName();
    return facts;
}

QString TFormAbout::SystemLabels() {
    return QStringLiteral("Available Memory:\nPlatform, CPU:");
}

QString TFormAbout::SystemValues(const AboutFacts& facts) {
    return QStringLiteral("%1 KB\n%2x %3 or compatible")
        .arg(facts.MemoryKB)
        .arg(facts.Processors)
        .arg(facts.ProcessorName);
}

std::unique_ptr<QDialog> TFormAbout::Build(QWidget* parent) const {
    auto dialog = std::make_unique<QDialog>(parent);
    dialog->setObjectName(QStringLiteral("FormAbout"));
    dialog->setWindowTitle(QStringLiteral("About %1 ...").arg(facts_.Title));

    auto* icon = new QLabel(dialog.get());
    icon->setObjectName(QStringLiteral("ProgramIcon"));
    const QIcon programIcon = QApplication::windowIcon().isNull()
                                  ? dialog->style()->standardIcon(QStyle::SP_ComputerIcon)
                                  : QApplication::windowIcon();
    icon->setPixmap(programIcon.pixmap(IconSize, IconSize));
    icon->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    QLabel* title = NewLabel(dialog.get(), "ProductName", facts_.Title);
    QFont titleFont(QStringLiteral("Arial"), TitlePoints, QFont::Bold);
    titleFont.setStyleHint(QFont::SansSerif);
    title->setFont(titleFont);
    // Sunken: a light edge below and right of the letters.
    auto* sunken = new QGraphicsDropShadowEffect(title);
    sunken->setBlurRadius(0);
    sunken->setOffset(1, 1);
    sunken->setColor(Qt::white);
    title->setGraphicsEffect(sunken);

    QLabel* version = NewLabel(dialog.get(), "Version", QStringLiteral("Version ") + facts_.FileVersion);
    QFont bold = version->font();
    bold.setBold(true);
    version->setFont(bold);

    auto* text = new QVBoxLayout;
    text->addWidget(title);
    text->addWidget(version);
    text->addWidget(NewLabel(dialog.get(), "FileDescription", facts_.FileDescription));
    text->addWidget(NewLabel(dialog.get(), "LegalCopyright", facts_.LegalCopyright));
    if (!facts_.WebAddress.isEmpty())
        text->addWidget(NewLink(dialog.get(), "WebAddress", facts_.WebAddress, facts_.WebAddress, browser_));
    if (!facts_.MailAddress.isEmpty())
        text->addWidget(NewLink(dialog.get(), "MailAddress", facts_.MailAddress,
                                QStringLiteral("mailto:") + facts_.MailAddress, browser_));

    auto* rule = new QFrame(dialog.get());
    rule->setObjectName(QStringLiteral("Rule"));
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    text->addWidget(rule);

    auto* system = new QHBoxLayout;
    system->addWidget(NewLabel(dialog.get(), "SystemLabels", SystemLabels()));
    system->addWidget(NewLabel(dialog.get(), "SystemValues", SystemValues(facts_)), 1);
    text->addLayout(system);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(IconSize / 2);
    top->addLayout(text, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog.get());
    QPushButton* ok = buttons->button(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog.get(), &QDialog::accept);

    auto* layout = new QVBoxLayout(dialog.get());
    layout->addLayout(top);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    return dialog;
}

void TFormAbout::Execute(QWidget* parent) {
    std::unique_ptr<QDialog> dialog = Build(parent);
    dialog->exec();
}

} // namespace olg
