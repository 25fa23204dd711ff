#pragma once

class QTabWidget;

namespace olg {

class ComponentOwner;
class ConfigPage;
struct ModelPage;

// Creates the page that a model description names, with the dialog as owner, in the given page control at
// the page's position; the page registers its controls with the dialog as it creates them.
ConfigPage* CreatePage(ComponentOwner& owner, QTabWidget* pageControl, const ModelPage& page);

} // namespace olg
