#include "model/ProfileValidation.h"

#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/HttpRequest.h"
#include "platform/Json.h"
#include "platform/Log.h"
#include "platform/UnicodeText.h"

namespace zorlet {

std::optional<std::string> ProfileValidation::validateNickname(const std::string& nickname) {
    std::size_t length = UnicodeText::chineseLength(nickname);
    if (length < 1 || length > 20) {
        return "昵称必须1-10个字以内";
    }

    HttpRequestPtr request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("profile/validate/nickexist"), Json{{"nickname", nickname}});
    if (!request) {
        return std::nullopt;
    }
    request->startSynchronous();
    if (request->error() || request->responseStatusCode() != 200) {
        log().error("error: {}", request->error()
                                     ? request->error()->message
                                     : "HTTP status " + std::to_string(request->responseStatusCode()));
        return std::nullopt;
    }
    auto envelope = parseJson(request->responseString());
    if (!envelope || !envelope->is_object()) {
        return std::nullopt;
    }
    // Only the JSON booleans count: a taken nickname is `success` false with `result` true.
    auto isBoolean = [&](const char* key, bool wanted) {
        auto found = envelope->find(key);
        return found != envelope->end() && found->is_boolean() && found->get<bool>() == wanted;
    };
    if (!isBoolean("success", false) || !isBoolean("result", true)) {
        return std::nullopt;
    }
    std::string message = jsonString(*envelope, "errorInfo");
    // A refusal must never read as an empty (and so invisible) message.
    return message.empty() ? "该昵称已被使用" : message;
}

std::optional<std::string> ProfileValidation::validateFeature(const std::string& feature) {
    if (UnicodeText::chineseLength(feature) >= 141) {
        return "个人简介请不要超过70个字";
    }
    return std::nullopt;
}

std::optional<std::string> ProfileValidation::validateProfession(const std::string& profession) {
    std::size_t length = UnicodeText::chineseLength(profession);
    if (length <= 1) {
        return "职业描述不能少于1个字";
    }
    if (length >= 21) {
        return "职业描述请不要超过10个字";
    }
    return std::nullopt;
}

}  // namespace zorlet
