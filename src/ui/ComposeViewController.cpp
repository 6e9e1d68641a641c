#include "ui/ComposeViewController.h"

#include "platform/DataFolder.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/MessageOutbox.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/ComposeFormViewController.h"
#include "ui/Window.h"

namespace zorlet {

namespace {

ComposeViewController::Delivery& installedDelivery() {
    static ComposeViewController::Delivery delivery;
    return delivery;
}

}  // namespace

ComposeViewController::ComposeViewController(OutgoingMessage::Kind kind, std::string title)
    : NavigationController(std::make_shared<ComposeFormViewController>()),
      form_(std::static_pointer_cast<ComposeFormViewController>(viewControllers().front())) {
    message_.kind = kind;
    form_->setTitle(std::move(title));
    // The items act on this composer, which owns the form and so outlives them.
    auto cancelItem = std::make_shared<BarButtonItem>("取消", BarButtonItem::Style::Bordered,
                                                      [this](BarButtonItem&) { cancel(); });
    cancelItem->setId("cancel");
    auto sendItem = std::make_shared<BarButtonItem>("发送", BarButtonItem::Style::Done,
                                                    [this](BarButtonItem&) { send(); });
    sendItem->setId("send");
    form_->navigationItem().setLeftBarButtonItem(std::move(cancelItem));
    form_->navigationItem().setRightBarButtonItem(std::move(sendItem));
    refreshForm();
}

ComposeViewController::~ComposeViewController() = default;

void ComposeViewController::refreshForm() {
    form_->show(message_);
}

void ComposeViewController::send() {
    answer(ComposeResult::Sent);
}

void ComposeViewController::cancel() {
    answer(ComposeResult::Cancelled);
}

void ComposeViewController::answer(ComposeResult result) {
    if (finished_) {
        return;
    }
    finished_ = true;
    // The delegate usually dismisses this composer, dropping the presenter's hold on it mid-call.
    releaseLater(shared_from_this());
    if (result == ComposeResult::Sent) {
        result = deliver(message_);
    }
    log().info("{} composer finished: {}", className(), composeResultName(result));
    if (!report(result)) {
        dismissModalViewController(true);
    }
}

ComposeResult ComposeViewController::deliver(const OutgoingMessage& message) {
    if (const Delivery& delivery = installedDelivery()) {
        return delivery(message);
    }
    std::filesystem::path written;
    std::string error =
        MessageOutbox::write(message, DataFolder::shared().root() / MessageOutbox::kFolderName,
                             MainLoop::main().clock().now(), &written);
    if (!error.empty()) {
        log().warn("the composed message could not be put in the outbox: {}", error);
        return ComposeResult::Failed;
    }
    log().info("composed message written to {}", written.string());
    return ComposeResult::Sent;
}

void ComposeViewController::setDelivery(Delivery delivery) {
    installedDelivery() = std::move(delivery);
}

ComposeViewController* ComposeViewController::presentedComposer() {
    Window* window = Application::shared().keyWindow();
    if (window == nullptr) {
        return nullptr;
    }
    return dynamic_cast<ComposeViewController*>(window->topViewController());
}

}  // namespace zorlet
