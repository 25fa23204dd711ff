#pragma once

namespace olg {

class DialogFactory;
class DialogHost;

// Attaches a runner per model to the factory. A runner creates the dialog with the window as owner on the
// selected device, runs it, and releases it.
void RegisterModelDialogs(DialogFactory& factory, DialogHost& host);

} // namespace olg
