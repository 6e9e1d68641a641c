#include "model/Post.h"

namespace zorlet {

std::shared_ptr<Post> Post::convertFromDictionary(const Json& dictionary) {
    auto post = std::make_shared<Post>();
    post->updateFromDictionary(dictionary);
    return post;
}

void Post::updateFromDictionary(const Json& dictionary) {
    postId = jsonInt(dictionary, "postId");
    purpose = jsonString(dictionary, "purpose");
    content = jsonString(dictionary, "content");
    place = jsonString(dictionary, "place");
    pic = jsonString(dictionary, "pic");
    bigPic = jsonString(dictionary, "bigPic");
    categoryId = jsonInt(dictionary, "categoryId");
    categoryName = jsonString(dictionary, "categoryName");
    ideaId = jsonInt(dictionary, "ideaId");
    cityName = jsonString(dictionary, "cityName");
    date = jsonString(dictionary, "date");
    respCnt = jsonInt(dictionary, "respCnt");
    hasResp = jsonInt(dictionary, "hasResp");
    createUid = jsonInt(dictionary, "createUid");
    link = jsonString(dictionary, "link");
    picFileName = jsonString(dictionary, "picFileName");
}

std::optional<std::string> Post::fullPlace() const {
    if (!hasPlace()) {
        return std::nullopt;
    }
    if (!cityName.empty()) {
        return cityName + " " + place;
    }
    return place;
}

}  // namespace zorlet
