#pragma once

#include "app/CustomNavigationController.h"
#include "app/ScreenFactory.h"
#include "model/RecordConverters.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "net/UrlUtils.h"
#include "people/UserViewController.h"
#include "platform/HttpQueue.h"
#include "platform/Reachability.h"
#include "platform/UserDefaults.h"
#include "platform/WebImageLoader.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/UserLocationSource.h"
#include "ui/Window.h"

#include "support/LoopTest.h"
#include "support/ProcessState.h"
#include "support/ScriptedServer.h"

#include <string>

namespace zorlet::test {

inline Json userJson(int uid, int gender, Json post = nullptr, Json location = nullptr) {
    Json user = {{"uid", uid},
                 {"nickname", "用户" + std::to_string(uid)},
                 {"gender", gender},
                 {"birthYear", 1990},
                 {"profession", "设计师"},
                 {"onlineStatus", 0}};
    if (!post.is_null()) {
        user["postView"] = post;
    }
    if (!location.is_null()) {
        user["location"] = location;
    }
    return user;
}

inline Json postJson(int postId, int author, const std::string& content, bool withPicture = false,
                     int respCnt = 0) {
    Json post = {{"postId", postId},   {"purpose", "爬山"}, {"content", content},
                 {"respCnt", respCnt}, {"hasResp", 0},      {"createUid", author}};
    post["bigPic"] = withPicture ? Json("http://127.0.0.1:1/none.jpg") : Json();
    return post;
}

inline std::string pageJson(const Json& list, bool hasNext = false) {
    return Json{{"success", true},
                {"result", {{"pager", {{"currentPage", 1}, {"hasNext", hasNext}}}, {"list", list}}}}
        .dump();
}

// The signed-in user for the people screens.
inline void signInAs(int uid, int gender, int cityId = 2, double latitude = 0, double longitude = 0) {
    Json home = {
        {"userView",
         {{"uid", uid}, {"nickname", "我"}, {"gender", gender}, {"cityId", cityId}, {"hasGuided", 1}}}};
    if (latitude != 0) {
        home["latitude"] = latitude;
        home["longitude"] = longitude;
    }
    UserContext::setUserHome(UserHome::convertFromDictionary(home));
}

// A people screen test: a scripted server as the service, nobody located,
// no promotion shown before, a window to put screens in.
class PeopleTest : public LoopTest {
protected:
    void SetUp() override {
        LoopTest::SetUp();
        resetProcessState();
        RecordConverters::registerAll();
        UrlUtils::setBaseUrl(server_.url());
        UserViewController::resetLastLocation();
        UserDefaults::standard().removeObjectForKey(UserViewController::kPromotionTimeKey);
        window_ = std::make_shared<Window>();
    }
    void TearDown() override {
        window_.reset();
        HttpQueue::shared().cancelAll();
        loop().runPending();
        resetProcessState();
        LoopTest::TearDown();
    }
    // Shows `screen` as the root of a navigation stack in the key window.
    std::shared_ptr<CustomNavigationController> show(const ViewControllerPtr& screen) {
        auto navigation = std::make_shared<CustomNavigationController>(screen);
        window_->setRootViewController(navigation);
        window_->makeKeyAndVisible();
        return navigation;
    }
    bool waitForRequests(const std::string& path, std::size_t count) {
        return waitUntil([&] { return server_.countOf(path) >= count; });
    }
    // Lets outstanding requests arrive (or not) for a moment of real time.
    void settle() {
        waitUntil([] { return false; }, Duration(150));
    }

    ScriptedServer server_;
    std::shared_ptr<Window> window_;
};

}  // namespace zorlet::test
