#include "ui/MessageComposeViewController.h"

namespace zorlet {

namespace {
bool deviceSendsText = true;
}  // namespace

MessageComposeViewController::MessageComposeViewController()
    : ComposeViewController(OutgoingMessage::Kind::Text, "新信息") {}

bool MessageComposeViewController::canSendText() {
    return deviceSendsText;
}

void MessageComposeViewController::setCanSendText(bool can) {
    deviceSendsText = can;
}

void MessageComposeViewController::setRecipients(std::vector<std::string> recipients) {
    mutableMessage().recipients = std::move(recipients);
    refreshForm();
}

void MessageComposeViewController::setBody(std::string body) {
    mutableMessage().body = std::move(body);
    refreshForm();
}

bool MessageComposeViewController::report(ComposeResult result) {
    if (delegate_ == nullptr) {
        return false;
    }
    delegate_->messageComposeViewController(*this, result);
    return true;
}

}  // namespace zorlet
