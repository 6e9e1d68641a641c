#pragma once

#include <cstdint>
#include <string>

namespace zorlet::sandbox {

// One row of the posts table.
struct PostRecord {
    std::int64_t postId = 0;
    std::int64_t uid = 0;
    std::string purpose;
    std::string content;
    std::string place;
    std::string cityName;
    std::string dateString;
    std::int64_t categoryId = 0;
    std::string categoryName;
    std::int64_t ideaId = 0;
    std::string link;
    std::string pic;
    std::int64_t respCnt = 0;
    std::int64_t created = 0;
};

}  // namespace zorlet::sandbox
