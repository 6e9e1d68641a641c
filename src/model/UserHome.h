#pragma once

#include "model/Preference.h"
#include "model/User.h"
#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// A user's home page: the user with the questionnaire answers, the
// registration time, the last known position and the privacy switches.
class UserHome : public Record {
public:
    static constexpr const char* kRecordClassName = "UserHome";

    UserHome() : user(std::make_shared<User>()) {}

    static std::shared_ptr<UserHome> convertFromDictionary(const Json& dictionary);
    // Refreshes in place: `userView` is applied to the existing user, the
    // preferences are rebuilt, and a coordinate the dictionary lacks keeps its value.
    void updateFromDictionary(const Json& dictionary);
    void updateLatitude(double newLatitude, double newLongitude);

    std::int64_t objIdentity() const override { return user ? user->uid : 0; }

    // The registration day as "yyyy.MM.dd" in the clock's zone.
    std::string registerTimeText() const;

    UserPtr user;
    std::vector<PreferencePtr> preferences;
    std::int64_t registerTime = 0;  // seconds since 1970
    double longitude = 0;
    double latitude = 0;
    std::string phoneType;
    std::string userPlace;
    std::string socialLink;
    bool locationSecret = false;
    bool phoneSecret = false;
    bool synchronizeSecret = false;
    bool socialSecret = false;
};

using UserHomePtr = std::shared_ptr<UserHome>;

}  // namespace zorlet
