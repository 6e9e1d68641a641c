#pragma once

#include "model/Post.h"
#include "net/Record.h"
#include "platform/Json.h"
#include "ui/Color.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

// A person as the server describes them, with the display texts the lists
// and homes show (age and profession, distance, online status).
class User : public Record {
public:
    static constexpr const char* kRecordClassName = "User";

    // A new user with its latest post (`postView`) when the dictionary carries one.
    static std::shared_ptr<User> convertFromDictionary(const Json& dictionary);
    // Overwrites the fields from `dictionary`; never touches `post`, and keeps
    // `location` unless the member is a list of exactly two numbers.
    void updateFromDictionary(const Json& dictionary);
    // Every field of this user; `location` is a fresh list, `post` is shared
    // and `isBeDated` starts false.
    std::shared_ptr<User> copy() const;

    std::int64_t objIdentity() const override { return uid; }

    // The age by calendar year, when the birth year is set and the age is positive.
    std::optional<std::int64_t> age() const;
    // "25岁 教师": the age and the profession, each when there is one.
    std::string basicInfo() const;
    // "1.2km 25岁 天蝎座 教师": distance, age, star sign and profession, each when there is one.
    std::string basicInfoWithDistance() const;
    // The distance from the signed-in user in 100 m steps, or "" when there is none to tell.
    std::string distanceFromCurrentUser() const;
    // Another user with a known position, seen by a signed-in user whose position is known.
    bool hasDistance() const;
    std::string onlineText() const;
    Color onlineTextColor() const;
    // The display name of the bound platform ("新浪微博", "豆瓣社区", "QQ"), or nothing.
    std::optional<std::string> tpChineseName() const;

    // The distance text for a distance in metres, truncated to 100 m steps:
    // "<0.1km" under 100 m, ">99.9km" from 100 km on, else e.g. "1.2km".
    static std::string distanceText(double metres);

    std::int64_t uid = 0;
    std::string nickname;
    std::int64_t gender = 0;  // 1 male, 0 female
    std::string logo;
    std::string smallLogo;
    std::string bigLogo;
    std::string originalLogo;
    std::string rawLogo;  // the latest uploaded photo, from `newLogo`
    std::int64_t logoVerifyState = 0;
    bool hasLogo = false;
    std::int64_t birthYear = 0;
    std::int64_t birthMonth = 0;
    std::int64_t birthDay = 0;
    std::string constellation;
    std::int64_t professionId = 0;
    std::string profession;
    std::int64_t provinceId = 0;
    std::string provinceName;
    std::int64_t cityId = 0;
    std::string cityName;
    std::int64_t townId = 0;
    std::string townName;
    std::string feature;
    std::int64_t interestUserCount = 0;
    std::int64_t interestMeCount = 0;
    std::int64_t postCount = 0;
    std::int64_t hasGuided = 0;
    std::int64_t hasInterest = 0;
    std::int64_t tpId = 0;
    std::string tpName;
    bool tokenExpired = false;
    std::int64_t onlineStatus = 0;  // 0 online now, 1 visited today, 2 visited recently
    std::vector<double> location;   // [longitude, latitude], or empty when unknown
    bool isBeDated = false;
    PostPtr post;
};

using UserPtr = std::shared_ptr<User>;

}  // namespace zorlet
