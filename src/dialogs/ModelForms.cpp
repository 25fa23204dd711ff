#include "ModelForms.h"

#include "BoundCheckBox.h"
#include "GrowToFit.h"
#include "MaskedRadioButton.h"
#include "ModelDescription.h"
#include "PageFactory.h"
#include "TOlgForm.h"
#include "ui_Tolg1nForm.h"
#include "ui_Tolg4nForm.h"
#include "ui_Tolg8aForm.h"
#include "ui_Tolg8kForm.h"
#include "ui_Tolg8nForm.h"

#include <QPushButton>
#include <QTabWidget>

#include <algorithm>
#include <array>

namespace olg {

namespace {

using namespace feature;

// Sets a model's Designer form up on the holder and gives its tab widget.
using FormSetUp = QTabWidget* (*)(QWidget* holder);

template <class Form> QTabWidget* SetUp(QWidget* holder) {
    Form form;
    form.setupUi(holder);
    return form.Tabs;
}

// olg4a shows the olg4n form under its own user tab captions.
QTabWidget* SetUpOlg4a(QWidget* holder) {
    Ui::Tolg4nForm form;
    form.setupUi(holder);
    form.Tabs->setTabText(form.Tabs->indexOf(form.olg4n_UserAccounts), TOlgForm::tr("User accounts"));
    form.UsersBox->setTitle(TOlgForm::tr(" User Accounts "));
    return form.Tabs;
}

struct Form {
    std::string_view Model;
    FormSetUp SetUp; // olg8w has the General tab only
};

constexpr std::array<Form, 7> Forms{{
    {"olg1n", &SetUp<Ui::Tolg1nForm>},
    {"olg4a", &SetUpOlg4a},
    {"olg4n", &SetUp<Ui::Tolg4nForm>},
    {"olg8a", &SetUp<Ui::Tolg8aForm>},
    {"olg8k", &SetUp<Ui::Tolg8kForm>},
    {"olg8n", &SetUp<Ui::Tolg8nForm>},
    {"olg8w", nullptr},
}};

void Build(TOlgForm& dialog, const ModelDescription& model, FormSetUp setUp, const TOLG& device) {
    if (setUp != nullptr) {
        QWidget holder;
        dialog.AddFormTabs(setUp(&holder));
    }
    // The layout is fixed by the firmware of the device as it is now.
    const Features features = model.FeaturesFor(device.Value(param::Firmware));
    auto has = [features](Features wanted) { return (features & wanted) == wanted; };
    for (const ModelPage& page : model.Pages) {
        if (!has(page.Requires))
            continue;
        QTabWidget* control =
            page.PageControl.empty()
                ? dialog.PageControl
                : dialog.PageControl->findChild<QTabWidget*>(QString::fromStdString(page.PageControl));
        Q_ASSERT_X(control != nullptr, "ModelForms", "a page control the model's form does not have");
        CreatePage(dialog, control, page);
    }
    // Every page control of the form shows its first tab.
    for (QTabWidget* control : dialog.PageControl->findChildren<QTabWidget*>())
        control->setCurrentIndex(0);

    if (has(WebGeneral)) {
        dialog.AddDnsFields();
        dialog.AddAccessChoice();
        dialog.AddVersionBox();
    }
    dialog.DHCP->setVisible(has(DhcpSwitch));
    if (!has(HttpSwitch))
        dialog.http_authorized->setVisible(false);
    if (!has(OptionsButton))
        dialog.AvanceButton->setVisible(false);
    if (has(PortInConfigBox))
        dialog.MovePortIntoConfigBox();
    if (dialog.https_access != nullptr) {
        dialog.https_access->setVisible(has(AccessChoice));
        dialog.http_access->setVisible(has(AccessChoice));
    }

    dialog.AddLogins(model.Params);
    new GrowToFit(&dialog);
}

} // namespace

std::unique_ptr<TOlgForm> CreateModelForm(std::string_view model, DialogHost& host, const TOLG& device,
                                          QWidget* parent) {
    const ModelDescription* description = FindModelDescription(model);
    const auto* form =
        std::find_if(Forms.begin(), Forms.end(), [model](const Form& f) { return f.Model == model; });
    if (description == nullptr || form == Forms.end())
        return nullptr;
    auto dialog = std::make_unique<TOlgForm>(host, parent);
    Build(*dialog, *description, form->SetUp, device);
    return dialog;
}

} // namespace olg
