#include "model/DialogContent.h"

namespace zorlet {

std::shared_ptr<DialogContent> DialogContent::convertFromDictionary(const Json& dictionary) {
    auto message = std::make_shared<DialogContent>();
    message->dialogContentId = jsonInt(dictionary, "dialogContentId");
    message->content = jsonString(dictionary, "content");
    message->senderUid = jsonInt(dictionary, "senderUid");
    message->receiverUid = jsonInt(dictionary, "receiverUid");
    message->createTime = jsonDouble(dictionary, "createTime") / 1000.0;
    message->imgUrl = jsonString(dictionary, "imgUrl");
    message->bigImgUrl = jsonString(dictionary, "bigImgUrl");
    message->originalImgUrl = jsonString(dictionary, "originalImgUrl");
    message->hasImg = !message->imgUrl.empty();
    message->clientMsgId = jsonString(dictionary, "clientMsgId");
    return message;
}

}  // namespace zorlet
