#pragma once

#include "Distribution.h"
#include "PlatformServices.h"

#include <QDialog>
#include <QString>

#include <memory>

namespace olg {

// What the about box shows.
struct AboutFacts {
    QString Title;
    QString FileVersion;
    QString FileDescription;
    QString LegalCopyright;
    // Left out when empty.
    QString WebAddress;
    QString MailAddress;
    qint64 MemoryKB = 0;
    int Processors = 0;
    QString ProcessorName;

    // The program's version and the machine's figures, with the variant's links.
    static AboutFacts Collect(PlatformServices& platform, const Distribution& distribution);
};

// The about box: built for one showing, shown modally and released. Its links open with the browser.
class TFormAbout {
public:
    TFormAbout(AboutFacts facts, WebBrowser& browser) : facts_(std::move(facts)), browser_(browser) {}

    void Execute(QWidget* parent);

    // The window itself, not yet shown.
    std::unique_ptr<QDialog> Build(QWidget* parent) const;

    // The two columns of the system information, lines separated by "\n".
    static QString SystemLabels();
    static QString SystemValues(const AboutFacts& facts);

private:
    AboutFacts facts_;
    WebBrowser& browser_;
};

} // namespace olg
