#include "ui/MailComposeViewController.h"

namespace zorlet {

namespace {
bool deviceSendsMail = true;
}  // namespace

MailComposeViewController::MailComposeViewController()
    : ComposeViewController(OutgoingMessage::Kind::Mail, "新邮件") {}

bool MailComposeViewController::canSendMail() {
    return deviceSendsMail;
}

void MailComposeViewController::setCanSendMail(bool can) {
    deviceSendsMail = can;
}

void MailComposeViewController::setSubject(std::string subject) {
    mutableMessage().subject = std::move(subject);
    refreshForm();
}

void MailComposeViewController::setToRecipients(std::vector<std::string> recipients) {
    mutableMessage().recipients = std::move(recipients);
    refreshForm();
}

void MailComposeViewController::setMessageBody(std::string body, bool isHTML) {
    mutableMessage().body = std::move(body);
    mutableMessage().isHTML = isHTML;
    refreshForm();
}

void MailComposeViewController::addAttachmentData(std::string data, std::string mimeType,
                                                  std::string fileName) {
    mutableMessage().attachments.push_back({std::move(data), std::move(mimeType), std::move(fileName)});
}

bool MailComposeViewController::report(ComposeResult result) {
    if (delegate_ == nullptr) {
        return false;
    }
    delegate_->mailComposeController(*this, result);
    return true;
}

}  // namespace zorlet
