#pragma once

#include "ConfigPage.h"

namespace olg {

class BoundCheckBox;
class LimitedEdit;

// The device's hidden web page: authorized (parameter 6 bit 2), its URL (17), protected (6 bit 3) with the
// login (18) and password (19) that protect it. The tab text is its own.
class THidden : public ConfigPage {
    Q_OBJECT

public:
    THidden(ComponentOwner& owner, QTabWidget* pageControl, int pageIndex);

    BoundCheckBox* Authorized() const { return authorized_; }
    QLabel* UrlLabel() const { return urlLabel_; }
    LimitedEdit* Url() const { return url_; }
    QLabel* ProtectedLabel() const { return protectedLabel_; }
    BoundCheckBox* Protected() const { return protected_; }
    QLabel* LoginLabel() const { return loginLabel_; }
    LimitedEdit* Login() const { return login_; }
    QLabel* PasswordLabel() const { return passwordLabel_; }
    LimitedEdit* Password() const { return password_; }

    void AuthorizedChange();
    void ProtectedChange();
    // Keeps a leading slash in the URL.
    void UrlChange();

private:
    QGroupBox* frame_;
    QLabel* authorizedLabel_;
    BoundCheckBox* authorized_;
    QLabel* urlLabel_;
    LimitedEdit* url_;
    QLabel* protectedLabel_;
    BoundCheckBox* protected_;
    QLabel* loginLabel_;
    LimitedEdit* login_;
    QLabel* passwordLabel_;
    LimitedEdit* password_;
};

} // namespace olg
