#pragma once

#include "sandbox/Reply.h"
#include "sandbox/Views.h"

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

class Connection;
class Sessions;

// Everything a new user row may start with.
struct NewUser {
    std::optional<std::string> account;
    std::optional<std::string> passwordHash;
    std::string nickname;
    std::optional<int> gender;
    int birthYear = 0;
    int birthMonth = 0;
    int birthDay = 0;
    std::int64_t professionId = 0;
    std::string profession;
    std::int64_t provinceId = 0;
    std::string provinceName;
    std::int64_t cityId = 0;
    std::string cityName;
    std::string feature;
    std::string logo;
    bool hasGuided = false;
    std::int64_t tpId = 0;
    std::optional<std::string> tpAccount;
    std::optional<double> longitude;
    std::optional<double> latitude;
    std::int64_t registerTime = 0;  // 0: now
    std::int64_t lastActive = 0;    // 0: now
};

// Creating users and signing them in.
class Accounts {
public:
    static std::int64_t create(Connection& connection, const NewUser& user);
    // Opens a session and answers the user's home with the session cookies set.
    static Reply signIn(Connection& connection, Sessions& sessions, std::int64_t uid, const ViewContext& view,
                        bool remember);
    // `base`, or `base` with a number, that no other user carries; at most 20 length units.
    static std::string unusedNickname(Connection& connection, const std::string& base);
};

}  // namespace zorlet::sandbox
