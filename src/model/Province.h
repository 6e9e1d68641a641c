#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

class Province : public Record {
public:
    static constexpr const char* kRecordClassName = "Province";

    Province() = default;
    Province(std::int64_t provinceId, std::string name) : provinceId(provinceId), name(std::move(name)) {}

    // An element of `provinceList`: `provinceId`, `provinceName`.
    static std::shared_ptr<Province> convertFromDictionary(const Json& dictionary) {
        return std::make_shared<Province>(jsonInt(dictionary, "provinceId"),
                                          jsonString(dictionary, "provinceName"));
    }

    std::int64_t objIdentity() const override { return provinceId; }

    std::int64_t provinceId = 0;
    std::string name;
};

using ProvincePtr = std::shared_ptr<Province>;

}  // namespace zorlet
