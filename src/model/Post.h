#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

// One outing post (a Zorlet): what the author wants to do, optionally with a
// time, a place, a category and a picture.
class Post : public Record {
public:
    static constexpr const char* kRecordClassName = "Post";

    static std::shared_ptr<Post> convertFromDictionary(const Json& dictionary);
    // Overwrites every field from `dictionary`; an absent, null or mistyped member empties its field.
    void updateFromDictionary(const Json& dictionary);

    std::int64_t objIdentity() const override { return postId; }

    bool hasPlace() const { return !place.empty(); }
    bool hasTime() const { return !date.empty(); }
    bool hasCategory() const { return !categoryName.empty(); }
    bool hasRespPersons() const { return respCnt > 0; }
    // "city place" when the city is known, the place alone otherwise; nothing without a place.
    std::optional<std::string> fullPlace() const;

    std::int64_t postId = 0;
    std::string purpose;
    std::string content;
    std::string place;
    std::string pic;
    std::string bigPic;
    std::int64_t categoryId = 0;
    std::string categoryName;
    std::int64_t ideaId = 0;
    std::string cityName;
    std::string date;  // a display text prepared by the server
    std::int64_t respCnt = 0;
    std::int64_t hasResp = 0;
    std::int64_t createUid = 0;
    std::string link;
    std::string picFileName;
};

using PostPtr = std::shared_ptr<Post>;

}  // namespace zorlet
