#include "ModelDialogs.h"

#include "DeviceList.h"
#include "DialogFactory.h"
#include "DialogHost.h"
#include "ModelDescription.h"
#include "ModelForms.h"
#include "TOlgForm.h"

namespace olg {

void RegisterModelDialogs(DialogFactory& factory, DialogHost& host) {
    for (const ModelDescription& description : ModelDescriptions()) {
        const std::string model = description.Model;
        factory.Register(model, [&host, model](QWidget* owner, int selectedDevice, DialogFactory::Run run) {
            if (selectedDevice < 0 || selectedDevice >= host.Devices().Size())
                return 0;
            const std::unique_ptr<TOlgForm> dialog =
                CreateModelForm(model, host, host.Devices().At(selectedDevice), owner);
            if (!dialog)
                return 0;
            dialog->SetDeviceIndex(selectedDevice);
            return run == DialogFactory::Run::Loaded ? dialog->ShowLoaded() : dialog->ShowGeneral();
        });
    }
}

} // namespace olg
