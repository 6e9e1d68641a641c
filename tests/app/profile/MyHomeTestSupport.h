#pragma once

#include "../AppTestSupport.h"

#include "app/CustomNavigationController.h"
#include "profile/HomeViewController.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

#include <memory>
#include <string>

namespace zorlet::test {

inline Json myQuestion(int id, int inputType, Json answers = Json::array(), std::string displayAnswer = "") {
    Json options = Json::array();
    for (int value = 0; value < 4; ++value) {
        options.push_back({{"name", "选项" + std::to_string(value)}, {"value", value}});
    }
    return {{"preferenceId", id},
            {"title", "问题" + std::to_string(id)},
            {"inputType", inputType},
            {"tip", "还没有填写"},
            {"openDescription", inputType == 0},
            {"options", inputType <= 1 ? options : Json::array()},
            {"minValidationValue", inputType == 0   ? 1
                                   : inputType == 2 ? 18
                                                    : 0},
            {"maxValidationValue", inputType == 0   ? 3
                                   : inputType == 2 ? 40
                                                    : 200},
            {"answer", std::move(answers)},
            {"displayAnswer", std::move(displayAnswer)},
            {"description", ""}};
}

// The signed-in user's home as the server describes it.
inline Json myHomeJson(Json userExtra = Json::object(), Json homeExtra = Json::object()) {
    Json user = {{"uid", 42},
                 {"nickname", "阿明"},
                 {"gender", 1},
                 {"birthYear", 1990},
                 {"constellation", "双鱼座"},
                 {"profession", "程序员"},
                 {"cityName", "北京"},
                 {"feature", "喜欢爬山"},
                 {"postCount", 3},
                 {"interestUserCount", 2},
                 {"interestMeCount", 0},
                 {"hasGuided", 1}};
    for (auto& [key, value] : userExtra.items()) {
        user[key] = value;
    }
    Json home = {{"userView", user},
                 {"registerTime", 1354881600},
                 {"preferenceViews",
                  Json::array({myQuestion(1, 0), myQuestion(2, 1), myQuestion(3, 2), myQuestion(4, 3)})},
                 {"phoneType", "iPhone 5"},
                 {"locationSecret", false},
                 {"phoneSecret", true},
                 {"synchronizeSecret", false}};
    for (auto& [key, value] : homeExtra.items()) {
        home[key] = value;
    }
    return home;
}

inline std::string okEnvelope(const Json& result) {
    return Json{{"success", true}, {"result", result}}.dump();
}

// Own-profile screen tests: the signed-in user's records in the user context,
// a window with a navigation stack, a scripted server as the service.
class MyHomeTestBase : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        window_ = std::make_shared<Window>();
        signInWith(myHomeJson());
    }
    void TearDown() override {
        navigation_.reset();
        window_.reset();
        MessageComposeViewController::setCanSendText(true);
        MailComposeViewController::setCanSendMail(true);
        AppTest::TearDown();
    }
    static void signInWith(const Json& home) {
        UserContext::setUserHome(UserHome::convertFromDictionary(home));
    }

    std::shared_ptr<CustomNavigationController> show(const ViewControllerPtr& screen) {
        navigation_ = std::make_shared<CustomNavigationController>(screen);
        window_->setRootViewController(navigation_);
        window_->makeKeyAndVisible();
        return navigation_;
    }
    template <typename Screen>
    Screen* top() const {
        return navigation_ ? dynamic_cast<Screen*>(navigation_->topViewController()) : nullptr;
    }
    std::string lastAlertTitle() const {
        const auto& titles = AlertRegistry::shared().shownAlertTitles();
        return titles.empty() ? std::string() : titles.back();
    }
    static bool tapRight(ViewController& screen) {
        auto item = screen.navigationItem().rightBarButtonItem();
        return item && item->isEnabled() && UserInput::tapBarButton(*item);
    }
    static bool tapLeft(ViewController& screen) {
        auto item = screen.navigationItem().leftBarButtonItem();
        return item && UserInput::tapBarButton(*item);
    }
    // Waits until the request to `path` was answered and its progress indicator is gone or checked.
    bool waitForAnswer(const std::string& path, std::size_t count = 1) {
        bool arrived = waitUntil([&] { return server_.countOf(path) >= count; });
        waitUntil(
            [&] {
                ProgressHUD* hud = ProgressHUD::HUDForView(&navigation_->view());
                return hud == nullptr || hud->mode() == ProgressHUD::Mode::CustomView;
            },
            Duration(5000));
        return arrived;
    }

    std::shared_ptr<Window> window_;
    std::shared_ptr<CustomNavigationController> navigation_;
};

}  // namespace zorlet::test
