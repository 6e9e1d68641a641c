#include "app/FeedbackViewController.h"

#include "app/ScreenActions.h"
#include "messaging/DialogService.h"
#include "model/DialogContent.h"
#include "net/MessageShow.h"
#include "platform/Analytics.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

FeedbackViewController::~FeedbackViewController() {
    MainLoop::main().cancel(leaveTimer_);
}

void FeedbackViewController::viewDidLoad() {
    setTitle("意见反馈");
    view().setId("FeedbackViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    customTextView = std::make_shared<CustomTextView>(Rect(10, 10, 300, 150));
    customTextView->setId("customTextView");
    customTextView->setFont(Font::systemFont(14));
    customTextView->setPlaceholder("说说你对Zorlet的意见和建议...");
    view().addSubview(customTextView);
    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "发送", BarButtonItem::Style::Bordered, "save", this, &FeedbackViewController::save));
    customTextView->becomeFirstResponder();
}

void FeedbackViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void FeedbackViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void FeedbackViewController::save() {
    DialogContent message;
    message.content = UnicodeText::trimmed(customTextView->text());
    message.receiverUid = kServiceUid;
    auto hud = OperationProgress::show(Application::shared().keyWindow(), "发送中...");
    auto weak = weakSelf(this);
    bool sent = DialogService::sendSms(
        message, nullptr,
        [weak, hud](const Json&) {
            if (hud) {
                OperationProgress::succeed(*hud, "发送成功");
            }
            auto self = weak.lock();
            if (!self) {
                return;
            }
            self->customTextView->setText({});
            self->leaveTimer_ = MainLoop::main().runAfter(kLeaveAfterSuccess, [weak] {
                if (auto screen = weak.lock()) {
                    screen->leaveTimer_ = 0;
                    screen->back();
                }
            });
        },
        [hud](const std::optional<std::string>& text, bool) {
            OperationProgress::hide(hud);
            if (text && !text->empty()) {
                MessageShow::error(*text, Application::shared().keyWindow());
            }
        });
    if (!sent) {
        OperationProgress::hide(hud);
    }
}

void FeedbackViewController::back() {
    NavigationController* navigation = navigationController();
    if (navigation != nullptr && navigation->topViewController() == this) {
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
