#include "model/Dialog.h"

#include "session/UserContext.h"

namespace zorlet {

std::shared_ptr<Dialog> Dialog::convertFromDictionary(const Json& dictionary) {
    auto dialog = std::make_shared<Dialog>();
    dialog->dialogId = jsonInt(dictionary, "dialogId");
    dialog->receiverUid = jsonInt(dictionary, "receiverUid");
    dialog->latestContent = jsonString(dictionary, "latestContent");
    dialog->createTime = jsonDouble(dictionary, "createTime") / 1000.0;
    dialog->dialogContentCount = jsonInt(dictionary, "dialogContentCount");
    dialog->targetUser = User::convertFromDictionary(jsonObject(dictionary, "targetUser"));
    return dialog;
}

bool Dialog::isSendToMe() const {
    return receiverUid == UserContext::getUid();
}

}  // namespace zorlet
