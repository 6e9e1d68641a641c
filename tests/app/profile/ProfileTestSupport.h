#pragma once

#include "../AppTestSupport.h"

#include "app/CustomNavigationController.h"
#include "profile/GuideSettingViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "ui/ImagePickerController.h"
#include "ui/Keyboard.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet::test {

// A signed-in user with a complete profile, as the server describes one.
inline Json profileUser(bool hasGuided = true) {
    return Json{{"uid", 42},         {"nickname", "阿明"},
                {"gender", 1},       {"birthYear", 1990},
                {"birthMonth", 3},   {"birthDay", 5},
                {"professionId", 8}, {"profession", "程序员"},
                {"provinceId", 12},  {"provinceName", "天津市"},
                {"cityId", 120103},  {"cityName", "河西区"},
                {"feature", ""},     {"hasGuided", hasGuided ? 1 : 0}};
}

inline std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// Profile form tests: a window whose home screen presents the form as the
// profile does, a scripted server behind it, and no photo picker waiting.
class ProfileFormTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ImagePickerController::reset();
        Keyboard::shared().reset();
        window_ = std::make_shared<Window>();
        home_ = std::make_shared<ViewController>();
        window_->setRootViewController(home_);
        window_->makeKeyAndVisible();
        signInAs(profileUser());
    }
    void TearDown() override {
        home_.reset();
        window_.reset();
        ImagePickerController::reset();
        Keyboard::shared().reset();
        AppTest::TearDown();
    }

    static void signInAs(const Json& user) {
        UserContext::setUserHome(UserHome::convertFromDictionary(Json{{"userView", user}}));
    }

    std::shared_ptr<ProfileSettingViewController> openProfileForm() {
        auto form = std::make_shared<ProfileSettingViewController>();
        navigation_ = std::make_shared<CustomNavigationController>(form);
        home_->presentModalViewController(navigation_, false);
        return form;
    }

    // The guide as the login service makes it: the window's root.
    std::shared_ptr<GuideSettingViewController> openGuide() {
        window_->setRootViewController(LoginService::getInstance().loginTurnToViewController());
        navigation_ = std::dynamic_pointer_cast<CustomNavigationController>(root()->shared_from_this());
        if (!navigation_) {
            return nullptr;
        }
        return std::dynamic_pointer_cast<GuideSettingViewController>(
            navigation_->topViewController()->shared_from_this());
    }

    ViewController* root() const { return window_->rootViewController(); }

    static bool tapRow(SettingViewController& form, int section, int row) {
        return UserInput::tapRow(*form.tableView, IndexPath{section, row});
    }

    static CustomActionSheet* topPickerSheet() {
        return dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    }

    // Answers the sheet on top with its done button.
    static bool tapDone() {
        CustomActionSheet* sheet = topPickerSheet();
        return sheet != nullptr && UserInput::tapBarButton(*sheet->doneItem());
    }

    template <typename Editor>
    std::shared_ptr<Editor> topEditor() const {
        if (!navigation_ || navigation_->topViewController() == nullptr) {
            return nullptr;
        }
        return std::dynamic_pointer_cast<Editor>(navigation_->topViewController()->shared_from_this());
    }

    // Types into `input` as the keyboard would, replacing what it holds.
    static void typeInto(TextInput& input, const std::string& text, std::size_t existingCharacters = 0) {
        input.becomeFirstResponder();
        for (std::size_t i = 0; i < existingCharacters; ++i) {
            UserInput::deleteBackward();
        }
        UserInput::pasteText(text);
    }

    static bool tapConfirm(ViewController& editor) {
        auto item = editor.navigationItem().rightBarButtonItem();
        return item && UserInput::tapBarButton(*item);
    }

    std::string lastAlertTitle() const {
        const auto& titles = AlertRegistry::shared().shownAlertTitles();
        return titles.empty() ? std::string() : titles.back();
    }

    // Waits for `count` requests to `path` and the answer to be handled.
    bool waitForRequests(const std::string& path, std::size_t count = 1) {
        bool arrived = waitUntil([&] { return server_.countOf(path) >= count; });
        // The answer comes back on the loop after the server recorded the request.
        waitUntil(
            [&] {
                return ProgressHUD::HUDForView(&navigation_->view()) == nullptr ||
                       ProgressHUD::HUDForView(&navigation_->view())->mode() == ProgressHUD::Mode::CustomView;
            },
            Duration(5000));
        return arrived;
    }

    static std::string savedUserEnvelope(Json user) {
        return Json{{"success", true}, {"result", std::move(user)}}.dump();
    }

    std::shared_ptr<Window> window_;
    std::shared_ptr<ViewController> home_;
    std::shared_ptr<CustomNavigationController> navigation_;
};

}  // namespace zorlet::test
