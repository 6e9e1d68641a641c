#include "model/ExternalPost.h"

#include <cstdio>

namespace zorlet {

std::shared_ptr<ExternalPost> ExternalPost::convertFromDictionary(const Json& dictionary) {
    auto place = std::make_shared<ExternalPost>();
    place->externalPostId = jsonInt(dictionary, "externalPostId");
    place->name = jsonString(dictionary, "name");
    place->address = jsonString(dictionary, "address");
    place->ratingSImgUrl = jsonString(dictionary, "ratingSImgUrl");
    place->ratingImgUrl = jsonString(dictionary, "ratingImgUrl");
    place->photoUrl = jsonString(dictionary, "photoUrl");
    place->distance = jsonInt(dictionary, "distance");
    place->externalPostUrl = jsonString(dictionary, "externalPostUrl");
    return place;
}

std::string ExternalPost::distanceText(std::int64_t metres) {
    if (metres < 0) {
        return {};
    }
    // Truncated, not rounded: 999 metres still read 0.99km.
    char text[48];
    std::snprintf(text, sizeof text, "%lld.%02lldkm", static_cast<long long>(metres / 1000),
                  static_cast<long long>(metres % 1000 / 10));
    return text;
}

}  // namespace zorlet
