#pragma once

#include <memory>
#include <string_view>

class QWidget;

namespace olg {

class DialogHost;
class TOLG;
class TOlgForm;

// The configuration dialog of a device model ("olg1n" ... "olg8w"): the common dialog with the model's
// Designer form and the pages of its description, laid out for the device's firmware; nullptr for a model
// without one.
std::unique_ptr<TOlgForm> CreateModelForm(std::string_view model, DialogHost& host, const TOLG& device,
                                          QWidget* parent);

} // namespace olg
