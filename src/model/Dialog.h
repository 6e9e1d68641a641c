#pragma once

#include "model/User.h"
#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// One private conversation of the signed-in user with another user, as the
// dialog list shows it: the other party and the latest message.
class Dialog : public Record {
public:
    static constexpr const char* kRecordClassName = "Dialog";

    static std::shared_ptr<Dialog> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return dialogId; }
    // The other user spoke last: the latest message was received by the signed-in user.
    bool isSendToMe() const;

    std::int64_t dialogId = 0;
    std::int64_t receiverUid = 0;
    std::string latestContent;
    double createTime = 0;  // seconds since 1970
    std::int64_t dialogContentCount = 0;
    UserPtr targetUser;
};

using DialogPtr = std::shared_ptr<Dialog>;

}  // namespace zorlet
