#include "people/PrepareDateTaViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "ui/Button.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

namespace {

constexpr Duration kLeaveAfterSuccess{2000};

}  // namespace

void PrepareDateTaViewController::viewDidLoad() {
    setTitle("约" + (user ? user->nickname : std::string()));
    Analytics::event("enterDate");
    view().setId("PrepareDateTaViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));

    textView = std::make_shared<CustomTextView>(Rect(10, 10, 300, 120));
    textView->setId("textView");
    textView->setFont(Font::systemFont(14));
    textView->setTextColor(Color::white(0.6));
    textView->setPlaceholder("说说想约ta出去玩什么...");
    view().addSubview(textView);

    auto random = Button::create();
    random->setId("dateRandom");
    random->setTitle("换个说法");
    random->setTitleFont(Font::systemFont(14));
    random->setTitleColor(Color{0.24, 0.51, 0.76, 1});
    random->setFrame(Rect(210, 140, 100, 30));
    view().addSubview(random);
    ScreenActions::connect(view(), "dateRandom", this, &PrepareDateTaViewController::dateRandom);

    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "发送", BarButtonItem::Style::Bordered, "save", this, &PrepareDateTaViewController::save));
}

void PrepareDateTaViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void PrepareDateTaViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void PrepareDateTaViewController::save() {
    View* navigationView = navigationController() != nullptr ? &navigationController()->view() : nullptr;
    std::string content = UnicodeText::trimmed(textView ? textView->text() : std::string());
    std::size_t length = UnicodeText::chineseLength(content);
    if (length == 0) {
        MessageShow::error("请先输入内容", navigationView);
        return;
    }
    if (length > kMaxLength) {
        MessageShow::error("请不要超过160字", navigationView);
        return;
    }
    textView->resignFirstResponder();
    auto hud = OperationProgress::show(navigationView, "发送中...", OperationProgress::kAboveKeyboard);
    auto request =
        HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("dialog/v133/sendDate"),
                                              {{"content", content}, {"targetUid", user ? user->uid : 0}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, navigationView, [weak, hud](const Json&) {
        Analytics::event("sendDate");
        if (hud) {
            OperationProgress::succeed(*hud, "发送成功，ta看到会开心的");
        }
        MainLoop::main().runAfter(kLeaveAfterSuccess, [weak] {
            if (auto self = weak.lock()) {
                self->back();
            }
        });
    });
}

void PrepareDateTaViewController::dateRandom() {
    View* navigationView = navigationController() != nullptr ? &navigationController()->view() : nullptr;
    auto hud = OperationProgress::show(navigationView, "获取中...", OperationProgress::kAboveKeyboard);
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("dialog/v133/dateRandom"));
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, navigationView, [weak, hud](const Json& envelope) {
        OperationProgress::hide(hud);
        auto self = weak.lock();
        auto result = envelope.find("result");
        if (self && self->textView && result != envelope.end() && result->is_string() &&
            !result->get<std::string>().empty()) {
            self->textView->setText(result->get<std::string>());
        }
    });
}

void PrepareDateTaViewController::back() {
    NavigationController* navigation = navigationController();
    if (navigation != nullptr && navigation->topViewController() == this) {
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
