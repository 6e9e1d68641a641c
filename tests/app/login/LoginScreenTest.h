#pragma once

#include "../AppTestSupport.h"

#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "app/WelcomeViewController.h"
#include "ui/Keyboard.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

#include <memory>
#include <string>

namespace zorlet::test {

// A signed-out app on screen: the welcome screen is the window's root.
class LoginScreenTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Keyboard::shared().reset();
        window_ = std::make_shared<Window>();
        welcome_ = std::make_shared<WelcomeViewController>();
        window_->setRootViewController(welcome_);
        window_->makeKeyAndVisible();
    }
    void TearDown() override {
        Keyboard::shared().reset();
        window_.reset();
        welcome_.reset();
        AppTest::TearDown();
    }

    template <typename T>
    static std::shared_ptr<T> find(ViewController& screen, const std::string& id) {
        return InterfaceDescription::find<T>(screen.view(), id);
    }
    static bool tapButton(ViewController& screen, const std::string& id) {
        auto button = find<View>(screen, id);
        return button && UserInput::tap(*button);
    }
    // Taps the welcome screen's button and returns the screen at the root of the modal stack it opened.
    template <typename Screen>
    Screen* open(const std::string& buttonId) {
        if (!tapButton(*welcome_, buttonId)) {
            return nullptr;
        }
        auto* navigation = dynamic_cast<CustomNavigationController*>(welcome_->modalViewController());
        return navigation != nullptr ? dynamic_cast<Screen*>(navigation->topViewController()) : nullptr;
    }
    static void typeInto(TextField& field, const std::string& text) {
        ASSERT_TRUE(UserInput::tap(field));
        ASSERT_TRUE(UserInput::typeText(text));
    }
    static std::string topAlertTitle() {
        AlertView* alert = AlertRegistry::shared().topAlert();
        return alert != nullptr ? alert->title() : "(none)";
    }
    std::string windowRootClass() const {
        return window_->rootViewController() != nullptr ? window_->rootViewController()->className()
                                                        : "(none)";
    }
    // Waits for the progress indicator's work to come back to the main loop.
    static bool waitForAlertOr(const std::function<bool()>& condition) {
        return waitUntil([&] { return AlertRegistry::shared().topAlert() != nullptr || condition(); });
    }

    std::shared_ptr<Window> window_;
    std::shared_ptr<WelcomeViewController> welcome_;
};

}  // namespace zorlet::test
