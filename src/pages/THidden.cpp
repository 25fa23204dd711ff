#include "THidden.h"

#include "BoundCheckBox.h"
#include "LimitedEdit.h"
#include "ParamIds.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

namespace olg {

THidden::THidden(ComponentOwner& owner, QTabWidget* pageControl, int pageIndex)
    : ConfigPage(owner, pageControl, tr("Hidden Page"), pageIndex) {
    QGridLayout* grid = nullptr;
    frame_ = CreateGroupBox(tr(" Hidden Page "), this, &grid);
    authorizedLabel_ = CreateLabel(tr("Page Authorized :"), frame_);
    authorized_ = Create<BoundCheckBox>(frame_);
    authorized_->SetTag(ControlTag::Bit(param::ConfigFlags, param::HiddenPageAuthorizedBit));
    authorized_->setChecked(true);
    urlLabel_ = CreateLabel(tr("Page URL :"), frame_);
    url_ = Create<LimitedEdit>(frame_);
    url_->SetTag(ControlTag(param::HiddenPageUrl));
    protectedLabel_ = CreateLabel(tr("Page Protected :"), frame_);
    protected_ = Create<BoundCheckBox>(frame_);
    protected_->SetTag(ControlTag::Bit(param::ConfigFlags, param::HiddenPageProtectedBit));
    protected_->setChecked(true);
    loginLabel_ = CreateLabel(tr("Login :"), frame_);
    login_ = Create<LimitedEdit>(frame_);
    login_->SetTag(ControlTag(param::HiddenPageLogin));
    passwordLabel_ = CreateLabel(tr("Password :"), frame_);
    password_ = Create<LimitedEdit>(frame_);
    password_->SetTag(ControlTag(param::HiddenPagePassword));
    ShowAsPassword(password_);

    const QList<QPair<QLabel*, QWidget*>> rows = {{authorizedLabel_, authorized_},
                                                  {urlLabel_, url_},
                                                  {protectedLabel_, protected_},
                                                  {loginLabel_, login_},
                                                  {passwordLabel_, password_}};
    const int editWidth = url_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 24;
    for (int row = 0; row < rows.size(); ++row) {
        grid->addWidget(rows[row].first, row, 0);
        grid->addWidget(rows[row].second, row, 1);
        rows[row].first->setBuddy(rows[row].second);
    }
    for (LimitedEdit* edit : {url_, login_, password_})
        edit->setMinimumWidth(editWidth);
    grid->setColumnStretch(2, 1);

    auto* page = new QVBoxLayout(this);
    page->addWidget(frame_);
    page->addStretch(1);

    connect(authorized_, &QCheckBox::toggled, this, &THidden::AuthorizedChange);
    connect(protected_, &QCheckBox::toggled, this, &THidden::ProtectedChange);
    connect(url_, &QLineEdit::textChanged, this, &THidden::UrlChange);
}

void THidden::AuthorizedChange() {
    const bool authorized = authorized_->isChecked();
    for (QWidget* widget : std::initializer_list<QWidget*>{urlLabel_, url_, protectedLabel_, protected_})
        widget->setEnabled(authorized);
    ProtectedChange();
}

void THidden::ProtectedChange() {
    // A protected page whose page is not authorized keeps its login fields disabled, also when only the
    // protection is loaded anew.
    const bool enabled = authorized_->isChecked() && protected_->isChecked();
    for (QWidget* widget : std::initializer_list<QWidget*>{loginLabel_, login_, passwordLabel_, password_})
        widget->setEnabled(enabled);
}

void THidden::UrlChange() {
    const QString text = url_->text();
    if (text.startsWith(QLatin1Char('/')))
        return;
    // Setting the text runs this handler once more, which then finds the slash.
    url_->setText(QLatin1Char('/') + text);
    url_->setCursorPosition(static_cast<int>(url_->text().size()));
}

} // namespace olg
