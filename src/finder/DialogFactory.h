#pragma once

#include <QDialog>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

namespace olg {

// The configuration dialog of each device model, keyed by the model name of its registry entry ("olg1n" ...
// "olg8w"). The registry itself stays free of GUI types, so the dialogs are attached here.
class DialogFactory {
public:
    // How a dialog runs: on the device's settings (General tab first, Options for the rest) or on a
    // configuration just loaded from a file into the device's record (every tab at once).
    enum class Run { General, Loaded };

    // Creates the model's dialog with the owner, runs it for the device at this list index, releases it and
    // returns its result: Accepted when the user confirmed with OK.
    using Runner = std::function<QDialog::DialogCode(QWidget* owner, int selectedDevice, Run run)>;

    void Register(const std::string& model, Runner runner);
    // The model's runner, or nullptr while its dialog is not available.
    const Runner* Find(const std::string& model) const;

private:
    std::map<std::string, Runner, std::less<>> runners_;
};

} // namespace olg
