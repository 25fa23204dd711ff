#pragma once

#include "TConfigPage.h"

namespace olg {

class TBoundCheckBox;
class TLimitedEdit;

// The device's hidden web page: authorized (parameter 6 bit 2), its URL (17), protected (6 bit 3) with the
// login (18) and password (19) that protect it. The tab text is its own.
class THidden : public TConfigPage {
    Q_OBJECT

public:
    THidden(ComponentOwner& owner, QTabWidget* pageControl, int pageIndex);

    TBoundCheckBox* Authorized() const { return authorized_; }
    QLabel* UrlLabel() const { return urlLabel_; }
    TLimitedEdit* Url() const { return url_; }
    QLabel* ProtectedLabel() const { return protectedLabel_; }
    TBoundCheckBox* Protected() const { return protected_; }
    QLabel* LoginLabel() const { return loginLabel_; }
    TLimitedEdit* Login() const { return login_; }
    QLabel* PasswordLabel() const { return passwordLabel_; }
    TLimitedEdit* Password() const { return password_; }

    void AuthorizedChange();
    void ProtectedChange();
    // Keeps a leading slash in the URL.
    void UrlChange();

private:
    QGroupBox* frame_;
    QLabel* authorizedLabel_;
    TBoundCheckBox* authorized_;
    QLabel* urlLabel_;
    TLimitedEdit* url_;
    QLabel* protectedLabel_;
    TBoundCheckBox* protected_;
    QLabel* loginLabel_;
    TLimitedEdit* login_;
    QLabel* passwordLabel_;
    TLimitedEdit* password_;
};

} // namespace olg
