#pragma once

#include "model/DialogContent.h"
#include "platform/HttpRequest.h"
#include "platform/Json.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class DialogOutbox;
class HttpQueue;

// Sends the private messages of one conversation one at a time, in the order
// they were sent, and makes sure none is lost: each is written to the outbox
// before its request can start and leaves it only when the server accepted
// it. A message that fails (network, refusal, cancellation) stays in the
// outbox in the failure state until it is sent again or deleted. The server
// recognises a message sent twice by its `clientMsgId` and keeps one copy.
// Lives on the main loop.
class DialogSender : public std::enable_shared_from_this<DialogSender> {
public:
    // Without an outbox (none could be opened) messages are still sent, but not kept.
    explicit DialogSender(std::shared_ptr<DialogOutbox> outbox);
    // What is still queued or running stops with it and stays kept, failed,
    // to be shown and sent again when the conversation opens next.
    ~DialogSender();
    DialogSender(const DialogSender&) = delete;
    DialogSender& operator=(const DialogSender&) = delete;

    // Keeps the message and queues it (waiting). Without a network it is kept
    // failed, to be sent again. False when its text is refused (nothing is kept;
    // the user still has the text).
    bool send(const DialogContentPtr& message);
    // A failed message, queued again under the same id.
    bool resend(const DialogContentPtr& message);
    // Forgets a failed message for good.
    void discard(const DialogContentPtr& message);
    // Stops every waiting and running message; each ends in the failure state
    // (still kept) as its request reports the cancellation. The queue stays
    // open for new messages.
    void cancelAll();

    // Messages queued or running.
    std::size_t pendingCount() const { return pending_.size(); }
    bool isPending(const DialogContent& message) const;
    // Where this conversation's messages are kept (null when none could be opened).
    const std::shared_ptr<DialogOutbox>& outbox();
    // The serial queue the requests run on.
    const std::shared_ptr<HttpQueue>& smsQueue() const { return smsQueue_; }

    // Messages of an earlier run that the server never accepted, oldest first, in the failure state.
    static std::vector<DialogContentPtr> unsentMessages(DialogOutbox& outbox, std::int64_t senderUid,
                                                        std::int64_t receiverUid);
    // Forgets kept messages that the server already has (matched by `clientMsgId`).
    static void forgetDelivered(DialogOutbox& outbox, const std::vector<DialogContentPtr>& serverMessages);

    // A message changed state (waiting, sending, sent, failure).
    std::function<void(const DialogContentPtr&)> onStatusChange;
    // A text the user should see (a refusal, the length rule).
    std::function<void(const std::string&)> onError;

private:
    // The request for `message`, not started; `refused` is set when the text failed the length check.
    HttpRequestPtr prepare(const DialogContentPtr& message, const std::string* encodedPicture,
                           bool* refused = nullptr);
    bool keep(const DialogContent& message, const std::string& jpeg, bool failed);
    void enqueue(const DialogContentPtr& message, const HttpRequestPtr& request);
    void started(HttpRequest& request);
    void accepted(const DialogContentPtr& message, const Json& result);
    void failed(const DialogContentPtr& message, const std::optional<std::string>& text, bool requestMade);
    void markFailed(const DialogContentPtr& message);
    void changed(const DialogContentPtr& message);

    std::shared_ptr<DialogOutbox> outbox_;
    // One request at a time, in the order sent; when one fails in transport the
    // rest are cancelled and end failed (kept) rather than each timing out.
    std::shared_ptr<HttpQueue> smsQueue_;
    std::vector<DialogContentPtr> pending_;
};

using DialogSenderPtr = std::shared_ptr<DialogSender>;

}  // namespace zorlet
