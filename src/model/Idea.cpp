#include "model/Idea.h"

#include "net/UrlUtils.h"

namespace zorlet {

namespace {

// Text placed inside HTML: the idea's words must not become markup.
std::string htmlEscaped(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace

std::shared_ptr<Idea> Idea::convertFromDictionary(const Json& dictionary) {
    auto idea = std::make_shared<Idea>();
    idea->ideaId = jsonInt(dictionary, "ideaId");
    idea->content = jsonString(dictionary, "content");
    idea->place = jsonString(dictionary, "place");
    idea->startTime = jsonString(dictionary, "startTime");
    idea->endTime = jsonString(dictionary, "endTime");
    idea->charge = jsonInt(dictionary, "charge");
    idea->cityName = jsonString(dictionary, "cityName");
    idea->townName = jsonString(dictionary, "townName");
    idea->categoryId = jsonInt(dictionary, "categoryId");
    idea->categoryName = jsonString(dictionary, "categoryName");
    idea->useCount = jsonInt(dictionary, "useCount");
    idea->hasUsed = jsonBool(dictionary, "hasUsed");
    idea->pic = jsonString(dictionary, "pic");
    idea->bigPic = jsonString(dictionary, "bigPic");
    idea->detail = jsonString(dictionary, "detail");
    return idea;
}

std::string Idea::webPageUrl() const {
    return UrlUtils::webBaseUrl() + "/idea/" + std::to_string(ideaId);
}

std::string Idea::shareSmsText() const {
    return "想一起去：" + content + "么？（来自 Zorletiphone版）" + UrlUtils::webBaseUrl();
}

std::string Idea::shareThirdpartyText() const {
    std::string text = "想一起去：" + content + "么？";
    if (!place.empty()) {
        text += "地点：" + place;
    }
    return text;
}

std::string Idea::shareMailText() const {
    std::string page = htmlEscaped(webPageUrl());
    std::string html = htmlEscaped(shareThirdpartyText()) + " <a href=\"" + page + "\">去看看</a>";
    if (!bigPic.empty()) {
        html += "<br /><br /><a href=\"" + page + "\"><img width=\"225\" src=\"" + htmlEscaped(bigPic) +
                "\" /></a>";
    }
    return html;
}

}  // namespace zorlet
