#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

// One row of the users table as the views need it.
struct UserRecord {
    std::int64_t uid = 0;
    std::string account;
    std::string nickname;
    std::optional<std::int64_t> gender;
    std::int64_t birthYear = 0;
    std::int64_t birthMonth = 0;
    std::int64_t birthDay = 0;
    std::int64_t professionId = 0;
    std::string profession;
    std::int64_t provinceId = 0;
    std::string provinceName;
    std::int64_t cityId = 0;
    std::string cityName;
    std::int64_t townId = 0;
    std::string townName;
    std::string feature;
    std::string logo;
    std::string newLogo;
    std::int64_t logoVerifyState = 0;
    bool hasGuided = false;
    std::int64_t tpId = 0;
    std::string tpAccount;
    bool tokenExpired = false;
    std::optional<double> longitude;
    std::optional<double> latitude;
    std::string phoneType;
    std::string userPlace;
    bool locationSecret = false;
    bool phoneSecret = false;
    bool synchronizeSecret = false;
    bool socialSecret = false;
    std::int64_t registerTime = 0;
    std::int64_t lastActive = 0;
};

}  // namespace zorlet::sandbox
