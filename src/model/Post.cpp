#include "model/Post.h"

#include "model/FieldTable.h"

namespace zorlet {

std::shared_ptr<Post> Post::convertFromDictionary(const Json& dictionary) {
    auto post = std::make_shared<Post>();
    post->updateFromDictionary(dictionary);
    return post;
}

namespace {

const FieldTable<Post>& postFields() {
    static const FieldTable<Post> fields{
        {"postId", [](Post& p, const Json& v) { p.postId = jsonIntValue(v); }},
        {"purpose", [](Post& p, const Json& v) { p.purpose = jsonStringValue(v); }},
        {"content", [](Post& p, const Json& v) { p.content = jsonStringValue(v); }},
        {"place", [](Post& p, const Json& v) { p.place = jsonStringValue(v); }},
        {"pic", [](Post& p, const Json& v) { p.pic = jsonStringValue(v); }},
        {"bigPic", [](Post& p, const Json& v) { p.bigPic = jsonStringValue(v); }},
        {"categoryId", [](Post& p, const Json& v) { p.categoryId = jsonIntValue(v); }},
        {"categoryName", [](Post& p, const Json& v) { p.categoryName = jsonStringValue(v); }},
        {"ideaId", [](Post& p, const Json& v) { p.ideaId = jsonIntValue(v); }},
        {"cityName", [](Post& p, const Json& v) { p.cityName = jsonStringValue(v); }},
        {"date", [](Post& p, const Json& v) { p.date = jsonStringValue(v); }},
        {"respCnt", [](Post& p, const Json& v) { p.respCnt = jsonIntValue(v); }},
        {"hasResp", [](Post& p, const Json& v) { p.hasResp = jsonIntValue(v); }},
        {"createUid", [](Post& p, const Json& v) { p.createUid = jsonIntValue(v); }},
        {"link", [](Post& p, const Json& v) { p.link = jsonStringValue(v); }},
        {"picFileName", [](Post& p, const Json& v) { p.picFileName = jsonStringValue(v); }},
    };
    return fields;
}

}  // namespace

void Post::updateFromDictionary(const Json& dictionary) {
    postFields().apply(*this, dictionary);
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
