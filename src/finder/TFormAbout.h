#pragma once

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
};

// The about box: built for one showing, shown modally and released.
class TFormAbout {
public:
    explicit TFormAbout(AboutFacts facts) : facts_(std::move(facts)) {}

    void Execute(QWidget* parent);

    // The window itself, not yet shown.
    std::unique_ptr<QDialog> Build(QWidget* parent) const;

    // The two columns of the system information, lines separated by "\n".
    static QString SystemLabels();
    static QString SystemValues(const AboutFacts& facts);

private:
    AboutFacts facts_;
};

} // namespace olg
