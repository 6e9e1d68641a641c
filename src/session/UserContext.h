#pragma once

#include <cstdint>
#include <memory>

namespace zorlet {

class User;
class UserHome;

// Who is signed in, for this run only: the signed-in user's home, whose
// `user` is the signed-in User. Read on the main loop thread.
class UserContext {
public:
    static UserContext& sharedUserContext();

    static std::shared_ptr<UserHome> getUserHome();
    static void setUserHome(std::shared_ptr<UserHome> userHome);
    static std::shared_ptr<User> getUser();
    // The signed-in user's uid, 0 when nobody is signed in.
    static std::int64_t getUid();
    static bool hasLogin() { return getUid() > 0; }
    static bool hasCompleteGuide();
    // Forgets the signed-in user.
    static void logout();

    UserContext(const UserContext&) = delete;
    UserContext& operator=(const UserContext&) = delete;

private:
    UserContext() = default;

    std::shared_ptr<UserHome> userHome_;
};

}  // namespace zorlet
