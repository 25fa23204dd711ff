#include "PageFactory.h"

#include "ModelDescription.h"
#include "THidden.h"
#include "TLab.h"
#include "TMisc.h"
#include "TRack.h"
#include "TSecurity.h"
#include "TSuperv.h"

#include <QCoreApplication>

namespace olg {

ConfigPage* CreatePage(ComponentOwner& owner, QTabWidget* pageControl, const ModelPage& page) {
    QString caption = QCoreApplication::translate("olg::ModelPage", page.Caption.c_str());
    if (page.Number != 0)
        caption = caption.arg(page.Number);
    const int index = page.PageIndex;
    return std::visit(
        Overloaded{
            [&](const SecurityArguments& a) -> ConfigPage* {
                return new TSecurity(owner, pageControl, caption, index, a);
            },
            [&](const SupervArguments& a) -> ConfigPage* {
                return new TSuperv(owner, pageControl, caption, index, a);
            },
            [&](const MiscArguments& a) -> ConfigPage* {
                return new TMisc(owner, pageControl, caption, index, a);
            },
            [&](const HiddenArguments&) -> ConfigPage* { return new THidden(owner, pageControl, index); },
            [&](const LabArguments& a) -> ConfigPage* {
                return new TLab(owner, pageControl, caption, index, a);
            },
            [&](const RackArguments& a) -> ConfigPage* {
                return new TRack(owner, pageControl, caption, index, a);
            },
        },
        page.Arguments);
}

} // namespace olg
