#pragma once

#include "TOlgForm.h"

namespace olg {

// The dialog of the olg8w models: only the General tab, with the DNS servers, the firmware version in place
// of the Options button, and from firmware 2.0.0.0 on the choice between HTTPS and HTTP access (from 2.0.0.3
// on with the HTTP port inside the Configuration group).
class Tolg8wForm : public TOlgForm {
    Q_OBJECT

public:
    // The device's firmware version (parameter 12, a build note after a blank ignored) decides the layout.
    Tolg8wForm(DialogHost& host, const TOLG& device, QWidget* parent = nullptr);

    // The port is used only for HTTP access.
    void http_accessClick();
};

} // namespace olg
