#pragma once

#include "app/AppTestSupport.h"
#include "app/people/PeopleTestSupport.h"

#include "ideas/IdeaDetailViewController.h"
#include "ideas/IdeaUsersViewController.h"
#include "ideas/IdeaViewController.h"
#include "model/BaseData.h"
#include "model/Idea.h"
#include "session/LoginService.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

#include <string>

namespace zorlet::test {

constexpr const char* kGenericText = "网络不给力，稍后再试吧";

inline std::string refusalEnvelopeText(const std::string& info) {
    return Json{{"success", false}, {"errorCode", 100009}, {"errorInfo", info}}.dump();
}

inline Json ideaJson(int ideaId, int useCount = 0, const std::string& cityName = "北京",
                     bool hasUsed = false) {
    return {{"ideaId", ideaId},     {"content", "想法" + std::to_string(ideaId)},
            {"place", "798艺术区"}, {"startTime", ""},
            {"endTime", ""},        {"charge", nullptr},
            {"cityName", cityName}, {"townName", "朝阳区"},
            {"categoryId", 4},      {"categoryName", "展览"},
            {"useCount", useCount}, {"hasUsed", hasUsed},
            {"pic", nullptr},       {"bigPic", nullptr},
            {"detail", ""}};
}

inline std::string pagedJson(const Json& list, bool hasNext = false, int totalResults = 0) {
    return Json{{"success", true},
                {"result",
                 {{"pager", {{"currentPage", 1}, {"hasNext", hasNext}, {"totalResults", totalResults}}},
                  {"list", list}}}}
        .dump();
}

// Screens of the ideas area against a scripted server; an HTTP 401 signs out as in the app.
class IdeaScreenTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        LoginService::getInstance();
        signInAs(1, 1, 2);
    }
    // The progress indicator on the key window, if one is shown.
    ProgressHUD* windowHud() { return ProgressHUD::HUDForView(window_.get()); }
    bool alertShown(const std::string& title) {
        return waitUntil([&] {
            auto* alert = AlertRegistry::shared().topAlert();
            return alert != nullptr && alert->title() == title;
        });
    }
    template <typename Screen>
    Screen* topScreen(NavigationController& navigation) {
        return dynamic_cast<Screen*>(navigation.topViewController());
    }
};

}  // namespace zorlet::test
