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

TConfigPage* CreatePage(ComponentOwner& owner, QTabWidget* pageControl, const ModelPage& page) {
    QString caption = QCoreApplication::translate("olg::ModelPage", page.Caption.c_str());
    if (page.Number != 0)
        caption = caption.arg(page.Number);
    const int index = page.PageIndex;
    return std::visit(
        Overloaded{
            [&](const SecurityArguments& a) -> TConfigPage* {
                return new TSecurity(owner, pageControl, caption, index, a);
            },
            [&](const SupervArguments& a) -> TConfigPage* {
                return new TSuperv(owner, pageControl, caption, index, a);
            },
            [&](const MiscArguments& a) -> TConfigPage* {
                return new TMisc(owner, pageControl, caption, index, a);
            },
            [&](const HiddenArguments&) -> TConfigPage* { return new THidden(owner, pageControl, index); },
            [&](const LabArguments& a) -> TConfigPage* {
                return new TLab(owner, pageControl, caption, index, a);
            },
            [&](const RackArguments& a) -> TConfigPage* {
                return new TRack(owner, pageControl, caption, index, a);
            },
        },
        page.Arguments);
}

} // namespace olg
