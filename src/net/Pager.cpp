#include "net/Pager.h"

namespace zorlet {

PagerPtr Pager::pagerConvertFromDictionary(const Json& object) {
    auto pager = std::make_shared<Pager>();
    pager->updatePagerFromDictionary(object);
    return pager;
}

void Pager::updatePagerFromDictionary(const Json& object) {
    currentPage = jsonInt(object, "currentPage");
    maxResult = jsonInt(object, "maxResult");
    totalPage = jsonInt(object, "totalPage");
    totalResults = jsonInt(object, "totalResults");
    hasPre = jsonBool(object, "hasPre");
    hasNext = jsonBool(object, "hasNext");
}

}  // namespace zorlet
