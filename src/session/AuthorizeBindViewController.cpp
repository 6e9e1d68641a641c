#include "session/AuthorizeBindViewController.h"

#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "model/User.h"
#include "platform/Analytics.h"
#include "session/AuthorizeConfirmation.h"
#include "session/UserContext.h"
#include "ui/NavigationController.h"

namespace zorlet {

AuthorizeBindViewController::AuthorizeBindViewController() {
    setTitle("授权设置");
}

AuthorizeBindViewController::~AuthorizeBindViewController() {
    // The table may outlive this screen for a moment; it must not call into the list it no longer has.
    if (tpLoginTableView) {
        tpLoginTableView->setDataSource(nullptr);
        tpLoginTableView->setDelegate(nullptr);
    }
}

void AuthorizeBindViewController::loadView() {
    auto objects = InterfaceDescription::load("AuthorizeBindViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void AuthorizeBindViewController::viewDidLoad() {
    tpLoginDelegate_ = std::make_unique<TpLoginDelegate>(this, true);
    tpLoginTableView = InterfaceDescription::find<TableView>(view(), "tpLoginTableView");
    if (tpLoginTableView) {
        tpLoginTableView->setDataSource(tpLoginDelegate_.get());
        tpLoginTableView->setDelegate(tpLoginDelegate_.get());
        tpLoginTableView->reloadData();
    }
    ScreenActions::connect(view(), "back", this, &AuthorizeBindViewController::back);
}

void AuthorizeBindViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void AuthorizeBindViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void AuthorizeBindViewController::viewDidAppear(bool) {
    auto user = UserContext::getUser();
    if (confirming_ || !user || user->tpId <= 0) {
        return;
    }
    confirming_ = true;
    AuthorizeConfirmation::confirm(*this, kConfirmText);
}

void AuthorizeBindViewController::back() {
    if (NavigationController* navigation = navigationController()) {
        auto self = shared_from_this();
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
