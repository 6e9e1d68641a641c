#include "model/User.h"

#include "model/FieldTable.h"
#include "model/GeoDistance.h"
#include "model/UserHome.h"
#include "platform/Calendar.h"
#include "platform/MainLoop.h"
#include "session/UserContext.h"

#include <cmath>

namespace zorlet {

namespace {

// A position is taken only as a list of exactly two numbers; anything else keeps the old one.
bool readLocation(const Json& dictionary, std::vector<double>& location) {
    if (!dictionary.is_object()) {
        return false;
    }
    auto found = dictionary.find("location");
    if (found == dictionary.end() || !found->is_array() || found->size() != 2) {
        return false;
    }
    const Json& longitude = (*found)[0];
    const Json& latitude = (*found)[1];
    if (!longitude.is_number() || !latitude.is_number()) {
        return false;
    }
    location = {longitude.get<double>(), latitude.get<double>()};
    return true;
}

const FieldTable<User>& userFields() {
    static const FieldTable<User> fields{
        {"uid", [](User& u, const Json& v) { u.uid = jsonIntValue(v); }},
        {"nickname", [](User& u, const Json& v) { u.nickname = jsonStringValue(v); }},
        {"gender", [](User& u, const Json& v) { u.gender = jsonIntValue(v); }},
        {"logo", [](User& u, const Json& v) { u.logo = jsonStringValue(v); }},
        {"smallLogo", [](User& u, const Json& v) { u.smallLogo = jsonStringValue(v); }},
        {"bigLogo", [](User& u, const Json& v) { u.bigLogo = jsonStringValue(v); }},
        {"originalLogo", [](User& u, const Json& v) { u.originalLogo = jsonStringValue(v); }},
        {"newLogo", [](User& u, const Json& v) { u.rawLogo = jsonStringValue(v); }},
        {"logoVerifyState", [](User& u, const Json& v) { u.logoVerifyState = jsonIntValue(v); }},
        {"hasLogo", [](User& u, const Json& v) { u.hasLogo = jsonBoolValue(v); }},
        {"birthYear", [](User& u, const Json& v) { u.birthYear = jsonIntValue(v); }},
        {"birthMonth", [](User& u, const Json& v) { u.birthMonth = jsonIntValue(v); }},
        {"birthDay", [](User& u, const Json& v) { u.birthDay = jsonIntValue(v); }},
        {"constellation", [](User& u, const Json& v) { u.constellation = jsonStringValue(v); }},
        {"professionId", [](User& u, const Json& v) { u.professionId = jsonIntValue(v); }},
        {"profession", [](User& u, const Json& v) { u.profession = jsonStringValue(v); }},
        {"provinceId", [](User& u, const Json& v) { u.provinceId = jsonIntValue(v); }},
        {"provinceName", [](User& u, const Json& v) { u.provinceName = jsonStringValue(v); }},
        {"cityId", [](User& u, const Json& v) { u.cityId = jsonIntValue(v); }},
        {"cityName", [](User& u, const Json& v) { u.cityName = jsonStringValue(v); }},
        {"townId", [](User& u, const Json& v) { u.townId = jsonIntValue(v); }},
        {"townName", [](User& u, const Json& v) { u.townName = jsonStringValue(v); }},
        {"feature", [](User& u, const Json& v) { u.feature = jsonStringValue(v); }},
        {"interestUserCount", [](User& u, const Json& v) { u.interestUserCount = jsonIntValue(v); }},
        {"interestMeCount", [](User& u, const Json& v) { u.interestMeCount = jsonIntValue(v); }},
        {"postCount", [](User& u, const Json& v) { u.postCount = jsonIntValue(v); }},
        {"hasGuided", [](User& u, const Json& v) { u.hasGuided = jsonIntValue(v); }},
        {"hasInterest", [](User& u, const Json& v) { u.hasInterest = jsonIntValue(v); }},
        {"tpId", [](User& u, const Json& v) { u.tpId = jsonIntValue(v); }},
        {"tpName", [](User& u, const Json& v) { u.tpName = jsonStringValue(v); }},
        {"tokenExpired", [](User& u, const Json& v) { u.tokenExpired = jsonBoolValue(v); }},
        {"onlineStatus", [](User& u, const Json& v) { u.onlineStatus = jsonIntValue(v); }},
    };
    return fields;
}

}  // namespace

std::shared_ptr<User> User::convertFromDictionary(const Json& dictionary) {
    auto user = std::make_shared<User>();
    user->updateFromDictionary(dictionary);
    // Only a real object makes a post: a post of empty fields would show as a blank row.
    if (dictionary.is_object()) {
        auto postView = dictionary.find("postView");
        if (postView != dictionary.end() && postView->is_object()) {
            user->post = Post::convertFromDictionary(*postView);
        }
    }
    return user;
}

void User::updateFromDictionary(const Json& dictionary) {
    userFields().apply(*this, dictionary);
    readLocation(dictionary, location);
}

std::shared_ptr<User> User::copy() const {
    auto user = std::make_shared<User>(*this);
    user->isBeDated = false;
    return user;
}

std::optional<std::int64_t> User::age() const {
    if (birthYear == 0) {
        return std::nullopt;
    }
    std::int64_t currentYear = Calendar::partsOf(MainLoop::main().clock().now()).year;
    std::int64_t years = 0;
    if (__builtin_sub_overflow(currentYear, birthYear, &years) || years <= 0) {
        return std::nullopt;
    }
    return years;
}

std::string User::basicInfo() const {
    std::string text;
    if (auto years = age()) {
        text += std::to_string(*years) + "岁 ";
    }
    if (!profession.empty()) {
        text += profession;
    }
    return text;
}

std::string User::basicInfoWithDistance() const {
    std::string text;
    std::string distance = distanceFromCurrentUser();
    if (!distance.empty()) {
        text += distance + " ";
    }
    if (auto years = age()) {
        text += std::to_string(*years) + "岁 ";
    }
    if (!constellation.empty()) {
        text += constellation + " ";
    }
    if (!profession.empty()) {
        text += profession;
    }
    return text;
}

bool User::hasDistance() const {
    auto home = UserContext::getUserHome();
    if (!home || location.size() != 2) {
        return false;
    }
    std::int64_t signedInUid = home->user ? home->user->uid : 0;
    if (signedInUid == uid) {
        return false;
    }
    return home->longitude != 0 && home->latitude != 0;
}

std::string User::distanceFromCurrentUser() const {
    if (!hasDistance()) {
        return "";
    }
    auto home = UserContext::getUserHome();
    double metres = geodesicDistanceMetres(home->latitude, home->longitude, location[1], location[0]);
    return distanceText(metres);
}

std::string User::distanceText(double metres) {
    if (std::isnan(metres)) {
        return "";
    }
    if (metres >= 100000) {
        return ">99.9km";
    }
    if (metres < 100) {
        return "<0.1km";
    }
    auto hundreds = static_cast<long long>(metres / 100);
    return std::to_string(hundreds / 10) + "." + std::to_string(hundreds % 10) + "km";
}

std::string User::onlineText() const {
    switch (onlineStatus) {
        case 0:
            return "当前在线";
        case 1:
            return "今日来访";
        case 2:
            return "近期来访";
        default:
            return "";
    }
}

Color User::onlineTextColor() const {
    switch (onlineStatus) {
        case 0:
            return {0.18, 0.7, 0.25, 1};
        case 1:
            return {1.0, 0.6, 0.0, 1};
        case 2:
            return {0.8, 0.8, 0.8, 1};
        default:
            return {1, 1, 1, 1};
    }
}

std::optional<std::string> User::tpChineseName() const {
    if (tpName == "weibo") {
        return "新浪微博";
    }
    if (tpName == "douban") {
        return "豆瓣社区";
    }
    if (tpName == "qq") {
        return "QQ";
    }
    return std::nullopt;
}

}  // namespace zorlet
