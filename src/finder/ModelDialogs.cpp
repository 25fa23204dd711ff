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

#include <array>
#include <functional>

namespace olg {

namespace {

using Creator = std::function<std::unique_ptr<TOlgForm>(DialogHost&, const TOLG&, QWidget*)>;

template <class Form> Creator CreatorOf() {
    return [](DialogHost& host, const TOLG& device, QWidget* owner) {
        return std::make_unique<Form>(host, device, owner);
    };
}

struct Model {
    std::string_view Name;
    Creator Create;
};

const std::array<Model, 7>& Models() {
    static const std::array<Model, 7> models{{
        {"olg1n", CreatorOf<Tolg1nForm>()},
        {"olg4a", CreatorOf<Tolg4aForm>()},
        {"olg4n", CreatorOf<Tolg4nForm>()},
        {"olg8a", CreatorOf<Tolg8aForm>()},
        {"olg8k", CreatorOf<Tolg8kForm>()},
        {"olg8n", CreatorOf<Tolg8nForm>()},
        {"olg8w", CreatorOf<Tolg8wForm>()},
    }};
    return models;
}

} // namespace

std::unique_ptr<TOlgForm> CreateModelDialog(std::string_view model, DialogHost& host, const TOLG& device,
                                            QWidget* owner) {
    for (const Model& entry : Models())
        if (entry.Name == model)
            return entry.Create(host, device, owner);
    return nullptr;
}

void RegisterModelDialogs(DialogFactory& factory, DialogHost& host) {
    for (const Model& entry : Models()) {
        const std::string model(entry.Name);
        factory.Register(model, [&host, model](QWidget* owner, int selectedDevice, DialogFactory::Run run) {
            if (selectedDevice < 0 || selectedDevice >= host.Devices().Size())
                return 0;
            const std::unique_ptr<TOlgForm> dialog =
                CreateModelDialog(model, host, host.Devices().At(selectedDevice), owner);
            if (!dialog)
                return 0;
            dialog->SetDeviceIndex(selectedDevice);
            return run == DialogFactory::Run::Loaded ? dialog->ShowLoaded() : dialog->ShowGeneral();
        });
    }
}

} // namespace olg
