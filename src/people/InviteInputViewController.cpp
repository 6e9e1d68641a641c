#include "people/InviteInputViewController.h"

#include "app/ScreenActions.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

InviteInputViewController::~InviteInputViewController() {
    MainLoop::main().cancel(focusTimer_);
    MainLoop::main().cancel(closeTimer_);
}

void InviteInputViewController::viewDidLoad() {
    View& root = view();
    root.setId("InviteInputViewController");
    root.setBackgroundImage(ImageAsset::named("app_bg"));
    navigationBar = std::make_shared<NavigationBar>();
    navigationBar->setId("navigationBar");
    navigationBar->setFrame(Rect(0, 0, root.frame().width(), NavigationBar::kHeight));
    navigationBar->setBackgroundImage(ImageAsset::named("app_top_nav_bg.png"));
    root.addSubview(navigationBar);
    barItem_.setTitle(navTitle);
    barItem_.setLeftBarButtonItem(ScreenActions::barItem("返回", BarButtonItem::Style::Bordered, "back", this,
                                                         &InviteInputViewController::back));
    barItem_.setRightBarButtonItem(ScreenActions::barItem("邀请", BarButtonItem::Style::Bordered, "sendShare",
                                                          this, &InviteInputViewController::sendShare));
    navigationBar->show(barItem_, "", nullptr);

    textView = std::make_shared<CustomTextView>(Rect(10, NavigationBar::kHeight + 10, 300, 120));
    textView->setId("textView");
    textView->setBackgroundImage(ImageAsset::named("send_input_bgxy"));
    textView->setFont(Font::systemFont(14));
    textView->setTextColor(Color::white(0.6));
    textView->setText(kDefaultText);
    root.addSubview(textView);

    auto weak = weakSelf(this);
    focusTimer_ = MainLoop::main().runAfter(kFocusDelay, [weak] {
        if (auto self = weak.lock()) {
            self->focusTimer_ = 0;
            self->textView->becomeFirstResponder();
        }
    });
}

void InviteInputViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void InviteInputViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void InviteInputViewController::back() {
    auto self = shared_from_this();
    dismissModalViewController(true);
}

void InviteInputViewController::sendShare() {
    // The form thanks the user whatever the server makes of it: the answer is not read.
    if (auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("home/invite"),
                                                             {{"content", textView->text()}})) {
        request->startAsynchronous();
    }
    if (auto hud = OperationProgress::show(&view(), "", OperationProgress::kAboveKeyboard)) {
        OperationProgress::succeed(*hud, "邀请成功");
    }
    auto weak = weakSelf(this);
    MainLoop::main().cancel(closeTimer_);
    closeTimer_ = MainLoop::main().runAfter(kCloseDelay, [weak] {
        if (auto self = weak.lock()) {
            self->closeTimer_ = 0;
            self->back();
        }
    });
}

}  // namespace zorlet
