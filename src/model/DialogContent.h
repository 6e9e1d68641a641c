#pragma once

#include "net/Record.h"
#include "platform/Image.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// One private message: received from the server, or made here while it is sent.
class DialogContent : public Record {
public:
    static constexpr const char* kRecordClassName = "DialogContent";

    // Where a message made here stands; messages from the server are `Loaded`.
    enum SendStatus : int { Loaded = 0, Waiting = 1, Sending = 2, Failure = 3, Sent = 4 };

    static std::shared_ptr<DialogContent> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return dialogContentId; }

    std::int64_t dialogContentId = 0;
    std::string content;
    std::int64_t senderUid = 0;
    std::int64_t receiverUid = 0;
    double createTime = 0;  // seconds since 1970
    std::string imgUrl;
    std::string bigImgUrl;
    std::string originalImgUrl;
    bool hasImg = false;
    // The attached picture of a message being sent, or the received one once downloaded.
    ImagePtr image;
    int sendStatus = Loaded;
    // The id this client gave a message it sends, so the server stores a resend only
    // once; also the message's key in the local outbox. Empty for others' messages.
    std::string clientMsgId;
};

using DialogContentPtr = std::shared_ptr<DialogContent>;

}  // namespace zorlet
