#pragma once

#include <memory>
#include <string_view>

class QWidget;

namespace olg {

class DialogFactory;
class DialogHost;
class TOLG;
class TOlgForm;

// The configuration dialog of a device model ("olg1n" ... "olg8w", the model names of the device-type
// registry), laid out for the device's firmware; nullptr for a model without one.
std::unique_ptr<TOlgForm> CreateModelDialog(std::string_view model, DialogHost& host, const TOLG& device,
                                            QWidget* owner);

// Attaches a runner per model to the factory. A runner creates the dialog with the window as owner on the
// selected device, runs it, and releases it.
void RegisterModelDialogs(DialogFactory& factory, DialogHost& host);

} // namespace olg
