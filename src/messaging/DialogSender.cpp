#include "messaging/DialogSender.h"

#include "messaging/DialogOutbox.h"
#include "messaging/DialogService.h"
#include "platform/AtomicFile.h"
#include "platform/HttpQueue.h"
#include "platform/Image.h"
#include "platform/Log.h"

#include <algorithm>

namespace zorlet {

DialogSender::DialogSender(std::shared_ptr<DialogOutbox> outbox)
    : outbox_(std::move(outbox)), smsQueue_(std::make_shared<HttpQueue>(1)) {
    smsQueue_->setShouldCancelAllRequestsOnFailure(true);
    // The queue lives no longer than this sender, so it may point back at it.
    smsQueue_->setRequestStartedHandler([this](HttpRequest& request) { started(request); });
}

DialogSender::~DialogSender() {
    // The queue goes with this sender and drops its requests without a word, so
    // nobody else would record that these messages are no longer on their way.
    if (outbox()) {
        for (const auto& message : pending_) {
            outbox_->setFailed(message->clientMsgId, true);
        }
    }
}

const std::shared_ptr<DialogOutbox>& DialogSender::outbox() {
    // Its file was deleted under it: what is kept from now on goes to the new one.
    if (outbox_ && outbox_->isRetired()) {
        outbox_ = DialogOutbox::at(outbox_->file());
    }
    return outbox_;
}

bool DialogSender::keep(const DialogContent& message, const std::string& jpeg, bool failed) {
    if (!outbox()) {
        return false;
    }
    OutboxEntry entry{message.clientMsgId,
                      message.senderUid,
                      message.receiverUid,
                      message.content,
                      "",
                      message.createTime,
                      failed};
    if (!outbox_->add(entry, jpeg)) {
        log().warn("dialog sender: message {} could not be kept", message.clientMsgId);
        return false;
    }
    return true;
}

HttpRequestPtr DialogSender::prepare(const DialogContentPtr& message, const std::string* encodedPicture,
                                     bool* refused) {
    std::weak_ptr<DialogSender> weak = weak_from_this();
    auto request = DialogService::requestFor(
        *message,
        [weak, message](const Json& result) {
            if (auto self = weak.lock()) {
                self->accepted(message, result);
            }
        },
        [weak, message, refused](const std::optional<std::string>& text, bool requestMade) {
            // Only the length check answers without a request, and it does so before requestFor returns.
            if (!requestMade && refused != nullptr) {
                *refused = true;
            }
            if (auto self = weak.lock()) {
                self->failed(message, text, requestMade);
            }
        },
        encodedPicture);
    if (request) {
        request->userInfo()[DialogService::kDialogKey] = message;
    }
    return request;
}

bool DialogSender::send(const DialogContentPtr& message) {
    if (message->clientMsgId.empty()) {
        message->clientMsgId = DialogOutbox::makeClientMsgId();
    }
    std::string jpeg = message->image ? DialogService::encodePicture(*message->image) : std::string();
    bool refused = false;
    auto request = prepare(message, &jpeg, &refused);
    if (refused) {
        return false;
    }
    // Without a network no request can be made; the user has been told, and the
    // message waits in the outbox, failed, to be sent again once there is one.
    bool kept = keep(*message, jpeg, !request);
    if (!request) {
        if (!kept) {
            return false;
        }
        markFailed(message);
        return true;
    }
    enqueue(message, request);
    return true;
}

bool DialogSender::resend(const DialogContentPtr& message) {
    if (isPending(*message)) {
        return false;
    }
    std::optional<std::string> jpeg;
    if (outbox()) {
        if (auto kept = outbox_->find(message->clientMsgId); kept && !kept->pictureFile.empty()) {
            jpeg = AtomicFile::read(kept->pictureFile);
        }
    }
    auto request = prepare(message, jpeg ? &*jpeg : nullptr);
    if (!request) {
        return false;
    }
    if (outbox()) {
        outbox_->setFailed(message->clientMsgId, false);
    }
    enqueue(message, request);
    return true;
}

void DialogSender::discard(const DialogContentPtr& message) {
    if (isPending(*message)) {
        return;
    }
    if (outbox()) {
        outbox_->remove(message->clientMsgId);
    }
}

bool DialogSender::isPending(const DialogContent& message) const {
    return std::any_of(pending_.begin(), pending_.end(),
                       [&message](const DialogContentPtr& each) { return each.get() == &message; });
}

void DialogSender::enqueue(const DialogContentPtr& message, const HttpRequestPtr& request) {
    message->sendStatus = DialogContent::Waiting;
    pending_.push_back(message);
    changed(message);
    smsQueue_->add(request);
}

void DialogSender::started(HttpRequest& request) {
    const auto* message = request.userInfoValue<DialogContentPtr>(DialogService::kDialogKey);
    if (message && *message && (*message)->sendStatus == DialogContent::Waiting) {
        (*message)->sendStatus = DialogContent::Sending;
        changed(*message);
    }
}

void DialogSender::accepted(const DialogContentPtr& message, const Json& result) {
    auto stored = DialogContent::convertFromDictionary(result);
    message->imgUrl = stored->imgUrl;
    message->dialogContentId = stored->dialogContentId;
    message->createTime = stored->createTime;
    message->sendStatus = DialogContent::Sent;
    if (outbox()) {
        outbox_->remove(message->clientMsgId);
    }
    std::erase(pending_, message);
    changed(message);
}

void DialogSender::failed(const DialogContentPtr& message, const std::optional<std::string>& text,
                          bool requestMade) {
    if (text && !text->empty() && onError) {
        onError(*text);
    }
    if (!requestMade) {
        return;
    }
    std::erase(pending_, message);
    markFailed(message);
}

void DialogSender::markFailed(const DialogContentPtr& message) {
    message->sendStatus = DialogContent::Failure;
    if (outbox()) {
        outbox_->setFailed(message->clientMsgId, true);
    }
    changed(message);
}

void DialogSender::cancelAll() {
    smsQueue_->cancelAll();
}

void DialogSender::changed(const DialogContentPtr& message) {
    if (onStatusChange) {
        onStatusChange(message);
    }
}

std::vector<DialogContentPtr> DialogSender::unsentMessages(DialogOutbox& outbox, std::int64_t senderUid,
                                                           std::int64_t receiverUid) {
    std::vector<DialogContentPtr> messages;
    for (const auto& kept : outbox.entriesFor(senderUid, receiverUid)) {
        auto message = std::make_shared<DialogContent>();
        message->clientMsgId = kept.clientMsgId;
        message->senderUid = kept.senderUid;
        message->receiverUid = kept.receiverUid;
        message->content = kept.content;
        message->createTime = kept.createTime;
        message->sendStatus = DialogContent::Failure;
        if (!kept.pictureFile.empty()) {
            message->hasImg = true;
            message->image = Image::fromFile(kept.pictureFile);
        }
        messages.push_back(std::move(message));
    }
    return messages;
}

void DialogSender::forgetDelivered(DialogOutbox& outbox,
                                   const std::vector<DialogContentPtr>& serverMessages) {
    for (const auto& message : serverMessages) {
        // Only the server's own copies prove delivery; a message made here carries its id too.
        if (message->sendStatus == DialogContent::Loaded && !message->clientMsgId.empty()) {
            outbox.remove(message->clientMsgId);
        }
    }
}

}  // namespace zorlet
