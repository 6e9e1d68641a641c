#include "model/UserHome.h"

#include "platform/Calendar.h"

#include <chrono>

namespace zorlet {

namespace {

// A coordinate is overwritten only by a number; absent, null or mistyped keeps the old value.
void readCoordinate(const Json& dictionary, const char* key, double& coordinate) {
    if (!dictionary.is_object()) {
        return;
    }
    auto found = dictionary.find(key);
    if (found != dictionary.end() && found->is_number()) {
        coordinate = found->get<double>();
    }
}

}  // namespace

std::shared_ptr<UserHome> UserHome::convertFromDictionary(const Json& dictionary) {
    auto home = std::make_shared<UserHome>();
    home->updateFromDictionary(dictionary);
    return home;
}

void UserHome::updateFromDictionary(const Json& dictionary) {
    // A refresh without a user object leaves the user as it is rather than blanking it.
    if (dictionary.is_object()) {
        auto userView = dictionary.find("userView");
        if (userView != dictionary.end() && userView->is_object()) {
            if (!user) {
                user = std::make_shared<User>();
            }
            user->updateFromDictionary(*userView);
        }
    }
    preferences.clear();
    for (const Json& preference : jsonArray(dictionary, "preferenceViews")) {
        preferences.push_back(Preference::convertFromDictionary(preference));
    }
    registerTime = jsonInt(dictionary, "registerTime");
    readCoordinate(dictionary, "longitude", longitude);
    readCoordinate(dictionary, "latitude", latitude);
    phoneType = jsonString(dictionary, "phoneType");
    userPlace = jsonString(dictionary, "userPlace");
    socialLink = jsonString(dictionary, "socialLink");
    locationSecret = jsonBool(dictionary, "locationSecret");
    phoneSecret = jsonBool(dictionary, "phoneSecret");
    synchronizeSecret = jsonBool(dictionary, "synchronizeSecret");
    socialSecret = jsonBool(dictionary, "socialSecret");
}

void UserHome::updateLatitude(double newLatitude, double newLongitude) {
    latitude = newLatitude;
    longitude = newLongitude;
}

std::string UserHome::registerTimeText() const {
    // Keep garbage inside what a system clock time point holds (nanoseconds: about ±292 years).
    constexpr std::int64_t limit = 9000000000;
    std::int64_t seconds = registerTime < -limit ? -limit : (registerTime > limit ? limit : registerTime);
    return Calendar::format(SystemTime(std::chrono::seconds(seconds)), "yyyy.MM.dd");
}

}  // namespace zorlet
