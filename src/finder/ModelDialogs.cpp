#include "ModelDialogs.h"

#include "DeviceList.h"
#include "DialogFactory.h"
#include "DialogHost.h"
#include "olg1n/Tolg1nForm.h"
#include "olg4a/Tolg4aForm.h"
#include "olg4n/Tolg4nForm.h"
#include "olg8a/Tolg8aForm.h"
#include "olg8k/Tolg8kForm.h"
#include "olg8n/Tolg8nForm.h"
#include "olg8w/Tolg8wForm.h"

namespace olg {

namespace {

template <class Form> DialogFactory::Runner RunnerOf(DialogHost& host) {
    return [&host](QWidget* owner, int selectedDevice, DialogFactory::Run run) {
        if (selectedDevice < 0 || selectedDevice >= host.Devices().Size())
            return 0;
        Form dialog(host, host.Devices().At(selectedDevice), owner);
        dialog.SetDeviceIndex(selectedDevice);
        return run == DialogFactory::Run::Loaded ? dialog.ShowLoaded() : dialog.ShowGeneral();
    };
}

} // namespace

void RegisterModelDialogs(DialogFactory& factory, DialogHost& host) {
    factory.Register("olg1n", RunnerOf<Tolg1nForm>(host));
    factory.Register("olg4a", RunnerOf<Tolg4aForm>(host));
    factory.Register("olg4n", RunnerOf<Tolg4nForm>(host));
    factory.Register("olg8a", RunnerOf<Tolg8aForm>(host));
    factory.Register("olg8k", RunnerOf<Tolg8kForm>(host));
    factory.Register("olg8n", RunnerOf<Tolg8nForm>(host));
    factory.Register("olg8w", RunnerOf<Tolg8wForm>(host));
}

} // namespace olg
