#pragma once

#include "model/User.h"
#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>

namespace zorlet {

// A user who wants to go to an idea, and since when.
class IdeaUser : public Record {
public:
    static constexpr const char* kRecordClassName = "IdeaUser";

    IdeaUser() : user(std::make_shared<User>()) {}

    static std::shared_ptr<IdeaUser> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return user ? user->uid : 0; }

    std::int64_t ideaId = 0;
    UserPtr user;
    double createTime = 0;  // seconds since 1970; the server sends milliseconds
};

using IdeaUserPtr = std::shared_ptr<IdeaUser>;

}  // namespace zorlet
