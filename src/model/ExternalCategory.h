#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// A kind of external place (restaurants, cinemas, ...) as the review service groups them.
class ExternalCategory : public Record {
public:
    static constexpr const char* kRecordClassName = "ExternalCategory";

    static std::shared_ptr<ExternalCategory> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return externalCategoryId; }

    std::int64_t externalCategoryId = 0;
    std::string externalCategoryName;
};

using ExternalCategoryPtr = std::shared_ptr<ExternalCategory>;

}  // namespace zorlet
