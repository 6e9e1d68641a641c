#include "ideas/ShareIdeaInputViewController.h"

#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/WeakSelf.h"
#include "ui/BarButtonItem.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

ShareIdeaInputViewController::~ShareIdeaInputViewController() {
    for (TimerId timer : {keyboardTimer_, closeTimer_}) {
        if (timer != 0) {
            MainLoop::main().cancel(timer);
        }
    }
}

void ShareIdeaInputViewController::viewDidLoad() {
    setTitle(navTitle);
    view().setId("ShareIdeaInputViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    auto weak = weakSelf(this);
    auto self = [weak] { return weak.lock(); };

    auto backButton = Button::create();
    backButton->setId("backButton");
    backButton->setTitle("返回");
    backButton->setBackgroundImage(ImageAsset::named("top_nav_btn_back"));
    backButton->setFrame(Rect(0, 0, 50, 30));
    backButton->addTarget(TouchUpInside, [self](Control&) {
        if (auto alive = self()) {
            alive->back();
        }
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(backButton));

    sendButton = Button::create();
    sendButton->setId("sendButton");
    sendButton->setTitle("分享");
    sendButton->setBackgroundImage(ImageAsset::named("top_nav_btn_link"));
    sendButton->setFrame(Rect(0, 0, 50, 30));
    sendButton->addTarget(TouchUpInside, [self](Control&) {
        if (auto alive = self()) {
            alive->sendShare();
        }
    });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(sendButton));

    textView = std::make_shared<TextView>(Rect(10, 10, view().bounds().width() - 20, 150));
    textView->setId("textView");
    textView->setFont(Font::systemFont(15));
    textView->setText(idea ? idea->shareThirdpartyText() : std::string());
    view().addSubview(textView);

    keyboardTimer_ = MainLoop::main().runAfter(kKeyboardDelay, [self] {
        if (auto alive = self()) {
            alive->keyboardTimer_ = 0;
            alive->textView->becomeFirstResponder();
        }
    });
}

void ShareIdeaInputViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ShareIdeaInputViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void ShareIdeaInputViewController::sendShare() {
    if (!idea || closeTimer_ != 0) {
        return;
    }
    auto request =
        HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("idea/shareIdea"),
                                              {{"content", textView->text()}, {"ideaId", idea->ideaId}});
    if (!request) {
        // Nothing went out (the user was told there is no network): keep the text for another try.
        return;
    }
    // The platform posts it on the server's side; nothing here waits for that.
    request->startAsynchronous();
    textView->resignFirstResponder();
    if (auto hud = OperationProgress::show(&view(), "已分享", OperationProgress::kAboveKeyboard)) {
        OperationProgress::succeed(*hud, "已分享");
    }
    auto weak = weakSelf(this);
    closeTimer_ = MainLoop::main().runAfter(kCloseDelay, [weak] {
        if (auto alive = weak.lock()) {
            alive->closeTimer_ = 0;
            alive->back();
        }
    });
}

void ShareIdeaInputViewController::back() {
    textView->resignFirstResponder();
    dismissModalViewController(true);
}

}  // namespace zorlet
