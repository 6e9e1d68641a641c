#include "session/UserContext.h"

#include "model/User.h"
#include "model/UserHome.h"

namespace zorlet {

UserContext& UserContext::sharedUserContext() {
    // A function-local static is created exactly once, under the runtime's lock.
    static UserContext context;
    return context;
}

std::shared_ptr<UserHome> UserContext::getUserHome() {
    return sharedUserContext().userHome_;
}

void UserContext::setUserHome(std::shared_ptr<UserHome> userHome) {
    sharedUserContext().userHome_ = std::move(userHome);
}

std::shared_ptr<User> UserContext::getUser() {
    auto& home = sharedUserContext().userHome_;
    return home ? home->user : nullptr;
}

std::int64_t UserContext::getUid() {
    auto user = getUser();
    return user ? user->uid : 0;
}

bool UserContext::hasCompleteGuide() {
    auto user = getUser();
    return user && user->hasGuided != 0;
}

void UserContext::logout() {
    sharedUserContext().userHome_.reset();
}

}  // namespace zorlet
