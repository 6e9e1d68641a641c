#pragma once

#include "ui/ComposeViewController.h"

#include <string>
#include <vector>

namespace zorlet {

class MessageComposeViewController;

class MessageComposeViewControllerDelegate {
public:
    virtual ~MessageComposeViewControllerDelegate() = default;
    // The user sent or cancelled; the delegate dismisses the composer.
    virtual void messageComposeViewController(MessageComposeViewController& controller,
                                              ComposeResult result) = 0;
};

// The text message composer: recipients and a body, presented modally.
class MessageComposeViewController : public ComposeViewController {
public:
    MessageComposeViewController();
    std::string className() const override { return "MessageComposeViewController"; }

    // Whether this device sends text messages (the host or a test may say it does not).
    static bool canSendText();
    static void setCanSendText(bool can);

    const std::vector<std::string>& recipients() const { return message().recipients; }
    void setRecipients(std::vector<std::string> recipients);
    const std::string& body() const { return message().body; }
    void setBody(std::string body);

    // Not owned.
    void setMessageComposeDelegate(MessageComposeViewControllerDelegate* delegate) { delegate_ = delegate; }

protected:
    bool report(ComposeResult result) override;

private:
    MessageComposeViewControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
