#include "session/AuthorizeExpiredViewController.h"

#include "app/InterfaceDescription.h"
#include "app/LocalizedStrings.h"
#include "app/ScreenActions.h"
#include "model/User.h"
#include "platform/Analytics.h"
#include "session/AuthorizeConfirmation.h"
#include "session/TpLoginViewController.h"
#include "session/UserContext.h"
#include "ui/NavigationController.h"

namespace zorlet {

AuthorizeExpiredViewController::AuthorizeExpiredViewController(std::int64_t tpId) : tpId(tpId) {
    setTitle("授权设置");
}

void AuthorizeExpiredViewController::loadView() {
    auto objects = InterfaceDescription::load("AuthorizeExpiredViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void AuthorizeExpiredViewController::viewDidLoad() {
    label1 = InterfaceDescription::find<Label>(view(), "label1");
    label2 = InterfaceDescription::find<Label>(view(), "label2");
    if (label1) {
        label1->setText(LocalizedStrings::localizedString("authorize.%d.title1", tpId));
    }
    if (label2) {
        label2->setText(LocalizedStrings::localizedString("authorize.%d.title2", tpId));
    }
    ScreenActions::connect(view(), "openAuthorize", this, &AuthorizeExpiredViewController::openAuthorize);
    ScreenActions::connect(view(), "back", this, &AuthorizeExpiredViewController::back);
}

void AuthorizeExpiredViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void AuthorizeExpiredViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void AuthorizeExpiredViewController::viewDidAppear(bool) {
    auto user = UserContext::getUser();
    if (confirming_ || !user || user->tokenExpired) {
        return;
    }
    confirming_ = true;
    AuthorizeConfirmation::confirm(*this, kConfirmText);
}

void AuthorizeExpiredViewController::openAuthorize() {
    presentModalViewController(
        std::make_shared<TpLoginViewController>(tpId, TpLoginViewController::kAuthorize), true);
}

void AuthorizeExpiredViewController::back() {
    if (NavigationController* navigation = navigationController()) {
        auto self = shared_from_this();
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
