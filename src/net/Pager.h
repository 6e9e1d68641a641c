#pragma once

#include "platform/Json.h"

#include <cstdint>
#include <memory>

namespace zorlet {

// The server's pagination record of one page answer.
class Pager {
public:
    static std::shared_ptr<Pager> pagerConvertFromDictionary(const Json& object);
    void updatePagerFromDictionary(const Json& object);
    std::int64_t nextPage() const { return currentPage + 1; }

    std::int64_t currentPage = 0;
    std::int64_t maxResult = 0;
    std::int64_t totalPage = 0;
    std::int64_t totalResults = 0;
    bool hasPre = false;
    bool hasNext = false;
};

using PagerPtr = std::shared_ptr<Pager>;

}  // namespace zorlet
