#include "session/GetbackPwdViewController.h"

#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "net/CheckNetwork.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

GetbackPwdViewController::GetbackPwdViewController() {
    setTitle("找回密码");
}

void GetbackPwdViewController::loadView() {
    auto objects = InterfaceDescription::load("GetbackPwdViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void GetbackPwdViewController::viewDidLoad() {
    textField = InterfaceDescription::find<TextField>(view(), "textField");
    ScreenActions::connect(view(), "getback", this, &GetbackPwdViewController::getback);
    ScreenActions::onTap(view(), this, &GetbackPwdViewController::backgroundTap);
}

void GetbackPwdViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void GetbackPwdViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void GetbackPwdViewController::backgroundTap() {
    Keyboard::shared().endEditing(&view());
}

void GetbackPwdViewController::getback() {
    std::string account = UnicodeText::trimmed(textField ? textField->text() : std::string());
    if (account.empty()) {
        AlertView::create("", "请输入需要找回密码的登录账号", nullptr, "确认")->show();
        return;
    }
    backgroundTap();
    // The network alert belongs on the main loop, so the missing network is told here, not by the worker.
    if (!CheckNetwork::isExistenceNetwork()) {
        return;
    }
    getbackFinish(account);
}

void GetbackPwdViewController::getbackFinish(const std::string& account) {
    HttpRequestPtr request = HttpRequestSender::createPostRequestWithUrl(
        UrlUtils::urlStringWithUri("passport/getbackpwd"), Json{{"account", account}});
    request->setUseDownloadCache(false);

    View* host = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setDimBackground(true);
    hud->setLabelText("发送中...");
    hud->setRemoveFromSuperViewOnHide(true);
    auto weak = weakSelf(this);
    hud->showWhileExecuting([request] { request->startSynchronous(); },
                            [weak, request, account] {
                                if (auto self = weak.lock()) {
                                    self->getbackAnswered(*request, account);
                                }
                            },
                            true);
}

void GetbackPwdViewController::getbackAnswered(HttpRequest& request, const std::string& account) {
    if (request.error() || request.responseStatusCode() != 200) {
        HttpRequestDelegate::requestFailedHandle(request);
        return;
    }
    auto envelope = parseJson(request.responseString());
    if (envelope && HttpRequestSender::isSuccess(*envelope)) {
        AlertView::create(kSentTitle, "去" + account + "收信", this, "知道了")->show();
        return;
    }
    MessageShow::error(HttpRequestSender::failureText(envelope), &view());
}

void GetbackPwdViewController::alertViewClickedButton(AlertView& alertView, int) {
    if (alertView.title() != kSentTitle) {
        return;
    }
    if (textField) {
        textField->setText("");
    }
    if (NavigationController* navigation = navigationController();
        navigation != nullptr && navigation->topViewController() == this) {
        auto self = shared_from_this();
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
