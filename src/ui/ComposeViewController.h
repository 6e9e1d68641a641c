#pragma once

#include "platform/OutgoingMessage.h"
#include "ui/ComposeResult.h"
#include "ui/NavigationController.h"

#include <functional>
#include <memory>

namespace zorlet {

class ComposeFormViewController;

// What the message and mail composers share: a navigation screen presented
// modally that shows the message it holds under "取消" and "发送". "发送"
// hands the message to the system and reports how that went; "取消" reports
// a cancellation. The delegate dismisses the composer; one without a delegate
// dismisses itself.
class ComposeViewController : public NavigationController {
public:
    // Hands a message to the system; the window host opens it in the desktop's
    // programs. Without one the message is written to the data folder's outbox.
    using Delivery = std::function<ComposeResult(const OutgoingMessage&)>;

    ~ComposeViewController() override;

    const OutgoingMessage& message() const { return message_; }

    // The bar buttons' actions (front-ends, flows and tests use them too).
    void send();
    void cancel();
    // Ends the composer with `result` as the user's answer: Sent delivers the
    // message first (and reports Failed if that fails), Failed delivers nothing.
    void answer(ComposeResult result);

    static void setDelivery(Delivery delivery);
    // The composer on top of the key window's screens, if one is shown.
    static ComposeViewController* presentedComposer();

protected:
    ComposeViewController(OutgoingMessage::Kind kind, std::string title);
    OutgoingMessage& mutableMessage() { return message_; }
    // Shows the message's current content.
    void refreshForm();
    // Tells the delegate; false when there is none.
    virtual bool report(ComposeResult result) = 0;

private:
    static ComposeResult deliver(const OutgoingMessage& message);

    OutgoingMessage message_;
    std::shared_ptr<ComposeFormViewController> form_;
    bool finished_ = false;
};

}  // namespace zorlet
