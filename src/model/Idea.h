#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// An outing suggestion the service publishes: what, where, when, the price,
// its category and picture, and how many users want to go. Screens share one
// record, so a want-to-go marked on the detail shows on the list row.
class Idea : public Record {
public:
    static constexpr const char* kRecordClassName = "Idea";

    static std::shared_ptr<Idea> convertFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return ideaId; }

    bool hasStartTime() const { return !startTime.empty(); }
    bool hasEndTime() const { return !endTime.empty(); }
    bool hasCategory() const { return !categoryName.empty(); }
    bool hasTime() const { return hasStartTime() || hasEndTime(); }
    bool hasPerson() const { return useCount > 0; }

    // The texts that go out when the idea is shared by SMS, to a platform, by mail (HTML).
    std::string shareSmsText() const;
    std::string shareThirdpartyText() const;
    std::string shareMailText() const;
    // The idea's page on the web host.
    std::string webPageUrl() const;

    std::int64_t ideaId = 0;
    std::string content;
    std::string place;
    std::string startTime;
    std::string endTime;
    std::int64_t charge = 0;
    std::string cityName;
    std::string townName;
    std::int64_t categoryId = 0;
    std::string categoryName;
    std::int64_t useCount = 0;
    bool hasUsed = false;
    std::string pic;
    std::string bigPic;
    std::string detail;
};

using IdeaPtr = std::shared_ptr<Idea>;

}  // namespace zorlet
