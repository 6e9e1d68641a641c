#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// One place of the external review service: where it is, how it is rated,
// its photo and its page.
class ExternalPost : public Record {
public:
    static constexpr const char* kRecordClassName = "ExternalPost";

    static std::shared_ptr<ExternalPost> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return externalPostId; }

    // "1.23km" for 1234 metres; empty when the distance is unknown (negative).
    static std::string distanceText(std::int64_t metres);

    std::int64_t externalPostId = 0;
    std::string name;
    std::string address;
    std::string ratingSImgUrl;
    std::string ratingImgUrl;
    std::string photoUrl;
    // Metres from the user; negative when unknown.
    std::int64_t distance = -1;
    std::string externalPostUrl;
};

using ExternalPostPtr = std::shared_ptr<ExternalPost>;

}  // namespace zorlet
