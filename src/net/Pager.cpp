#include "net/Pager.h"

#include <algorithm>
#include <limits>

namespace zorlet {

PagerPtr Pager::pagerConvertFromDictionary(const Json& object) {
    auto pager = std::make_shared<Pager>();
    pager->updatePagerFromDictionary(object);
    return pager;
}

void Pager::updatePagerFromDictionary(const Json& object) {
    // Held one below the largest number, so that asking for the next page cannot overflow.
    currentPage = std::min(jsonInt(object, "currentPage"), std::numeric_limits<std::int64_t>::max() - 1);
    maxResult = jsonInt(object, "maxResult");
    totalPage = jsonInt(object, "totalPage");
    totalResults = jsonInt(object, "totalResults");
    hasPre = jsonBool(object, "hasPre");
    hasNext = jsonBool(object, "hasNext");
}

}  // namespace zorlet
