#include "session/GetbackPwdViewController.h"

#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "net/CheckNetwork.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"

#include <unicode/uchar.h>
#include <unicode/unistr.h>

namespace zorlet {

GetbackPwdViewController::GetbackPwdViewController() {
    setTitle("找回密码");
}

std::string GetbackPwdViewController::trimmed(const std::string& text) {
    icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    int32_t start = 0;
    int32_t end = unicode.length();
    while (start < end && u_isUWhiteSpace(unicode.char32At(start))) {
        start = unicode.moveIndex32(start, 1);
    }
    while (end > start) {
        int32_t previous = unicode.moveIndex32(end, -1);
        if (!u_isUWhiteSpace(unicode.char32At(previous))) {
            break;
        }
        end = previous;
    }
    std::string out;
    unicode.tempSubStringBetween(start, end).toUTF8String(out);
    return out;
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
    std::string account = trimmed(textField ? textField->text() : std::string());
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
