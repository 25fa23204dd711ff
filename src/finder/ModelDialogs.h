#pragma once

namespace olg {

class DialogFactory;
class DialogHost;

// Attaches the configuration dialog of each device model to the factory, keyed by the model names of the
// device-type registry. A runner creates the dialog with the window as owner on the selected device, runs
// it, and releases it.
void RegisterModelDialogs(DialogFactory& factory, DialogHost& host);

} // namespace olg
