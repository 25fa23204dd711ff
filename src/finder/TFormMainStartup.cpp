// The main window's start-up: the distribution variant and the about box.

#include "TFormMain.h"
#include "TVersionInfo.h"

namespace olg {

void TFormMain::SelectDistribution() {
    distribution_.DistributorCode = DefaultDistributorCode;
    const DistributionVariant variant = TVersionInfo::Distribution(platform_.ExecutableFile());
    if (!variant.Known)
        return;
    distribution_.DistributorCode = variant.DistributorCode;
    distribution_.FullFeatures = variant.FullFeatures;
    distribution_.AboutWebAddress = QString::fromStdString(variant.WebAddress);
    distribution_.AboutMailAddress = QString::fromStdString(variant.MailAddress);
    actions_.UpgradeButton->setVisible(true);
    actions_.UpgradeButton->setEnabled(variant.FullFeatures);
    actions_.PrintButton->setVisible(variant.FullFeatures);
    actions_.PrintButton->setEnabled(false);
    actions_.N4->setVisible(variant.FullFeatures);
    actions_.Options->setVisible(variant.FullFeatures);
    if (serveur_)
        serveur_->SetDistributorCode(distribution_.DistributorCode);
}

AboutFacts TFormMain::CollectAboutFacts() const {
    TVersionInfo version;
    version.GetInfo(platform_.ExecutableFile());
    SystemInformation& system = platform_.System();
    AboutFacts facts;
    facts.Title = ApplicationTitle();
    facts.FileVersion = version.FileVersion;
    facts.FileDescription = version.FileDescription;
    facts.LegalCopyright = version.LegalCopyright;
    facts.WebAddress = distribution_.AboutWebAddress;
    facts.MailAddress = distribution_.AboutMailAddress;
    facts.MemoryKB = system.TotalMemoryKB();
    facts.Processors = system.ProcessorCount();
    facts.ProcessorName = system.ProcessorName();
    return facts;
}

void TFormMain::AboutMenuClick() {
    TFormAbout(CollectAboutFacts()).Execute(this);
}

} // namespace olg
