#pragma once

#include "ui/ComposeViewController.h"

#include <string>
#include <vector>

namespace zorlet {

class MailComposeViewController;

class MailComposeViewControllerDelegate {
public:
    virtual ~MailComposeViewControllerDelegate() = default;
    // The user sent or cancelled; the delegate dismisses the composer.
    virtual void mailComposeController(MailComposeViewController& controller, ComposeResult result) = 0;
};

// The mail composer: recipients, a subject, a plain or HTML body and
// attachments, presented modally.
class MailComposeViewController : public ComposeViewController {
public:
    MailComposeViewController();
    std::string className() const override { return "MailComposeViewController"; }

    // Whether this device has a mail account to send from (the host or a test may say it has none).
    static bool canSendMail();
    static void setCanSendMail(bool can);

    const std::string& subject() const { return message().subject; }
    void setSubject(std::string subject);
    void setToRecipients(std::vector<std::string> recipients);
    const std::string& messageBody() const { return message().body; }
    bool isBodyHTML() const { return message().isHTML; }
    void setMessageBody(std::string body, bool isHTML);
    void addAttachmentData(std::string data, std::string mimeType, std::string fileName);
    const std::vector<OutgoingMessage::Attachment>& attachments() const { return message().attachments; }

    // Not owned.
    void setMailComposeDelegate(MailComposeViewControllerDelegate* delegate) { delegate_ = delegate; }

protected:
    bool report(ComposeResult result) override;

private:
    MailComposeViewControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
