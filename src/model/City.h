#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

class City : public Record {
public:
    static constexpr const char* kRecordClassName = "City";

    City() = default;
    City(std::int64_t cityId, std::string name, std::int64_t provinceId)
        : cityId(cityId), name(std::move(name)), provinceId(provinceId) {}

    // An element of `cityList`: `cityId`, `cityName`, `provinceId`.
    static std::shared_ptr<City> convertFromDictionary(const Json& dictionary) {
        return std::make_shared<City>(jsonInt(dictionary, "cityId"), jsonString(dictionary, "cityName"),
                                      jsonInt(dictionary, "provinceId"));
    }

    std::int64_t objIdentity() const override { return cityId; }

    std::int64_t cityId = 0;
    std::string name;
    std::int64_t provinceId = 0;
};

using CityPtr = std::shared_ptr<City>;

}  // namespace zorlet
