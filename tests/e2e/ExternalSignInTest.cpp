#include "SandboxJourneyTest.h"
#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "app/WelcomeViewController.h"
#include "model/User.h"
#include "net/UrlUtils.h"
#include "platform/CookieStore.h"
#include "platform/HttpQueue.h"
#include "platform/Reachability.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/TestControl.h"
#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "session/LoginViewController.h"
#include "session/TpLoginViewController.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/Keyboard.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include <chrono>
#include <filesystem>
#include <random>
#include <regex>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// The client against the in-process sandbox, signed out, with a window on screen.
class ExternalSignInTest : public SandboxJourneyTest {
protected:
    void SetUp() override {
        SandboxJourneyTest::SetUp();
        LoginService::getInstance();
    }

    // Waits for the provider page, then follows its "authorize" link as the user's tap would.
    static void authorizeOnPage(TpLoginViewController& screen) {
        ASSERT_TRUE(
            waitUntil([&] { return !screen.webView->isLoading() && !screen.webView->pageTitle().empty(); }));
        std::smatch link;
        std::string page = screen.webView->pageContent();
        ASSERT_TRUE(std::regex_search(page, link, std::regex(R"(<a id="authorize" href="([^"]+)\")")))
            << page;
        screen.webView->clickLink(link[1]);
    }
    static bool landed(const TpLoginViewController& screen, const std::string& fragment) {
        for (const auto& url : screen.webView->requestedUrls()) {
            if (url.find(fragment) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
    std::string rootClass() const {
        return window_->rootViewController() ? window_->rootViewController()->className() : "(none)";
    }
    // A user with an account (and optionally a provider) signed in through the login service.
    std::int64_t signInNewUser(std::int64_t tpId = 0, const std::string& tpAccount = "") {
        sandbox::TestUser user;
        user.account = "e2e" + std::to_string(++users_) + "@example.com";
        user.password = "secret99";
        user.nickname = "旅人" + std::to_string(users_);
        user.tpId = tpId;
        user.tpAccount = tpAccount;
        auto uid = sandbox_->testControl().createUser(user);
        EXPECT_TRUE(uid);
        if (tpId > 0) {
            EXPECT_TRUE(sandbox_->testControl().expireAuthorization(*uid));
        }
        EXPECT_TRUE(LoginService::getInstance().useLoginName(user.account, user.password).success);
        return uid.value_or(0);
    }
    std::shared_ptr<CustomNavigationController> showPushed(ViewControllerPtr screen) {
        auto navigation = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
        window_->setRootViewController(navigation);
        window_->makeKeyAndVisible();
        navigation->pushViewController(std::move(screen), false);
        return navigation;
    }
    static std::string hudText(View& host) {
        auto* hud = ProgressHUD::HUDForView(&host);
        return hud != nullptr && hud->isShown() ? hud->labelText() : "(none)";
    }

    int users_ = 0;
};

TEST_F(ExternalSignInTest, WeiboSignInFromTheWelcomeScreenLandsANewUserOnTheGuide) {
    auto welcome = std::make_shared<WelcomeViewController>();
    window_->setRootViewController(welcome);
    window_->makeKeyAndVisible();
    ASSERT_TRUE(UserInput::tap(*InterfaceDescription::viewWithId(welcome->view(), "goLogin")));
    auto* navigation = dynamic_cast<NavigationController*>(welcome->modalViewController());
    ASSERT_NE(navigation, nullptr);
    ASSERT_TRUE(UserInput::tap(
        *InterfaceDescription::viewWithId(navigation->topViewController()->view(), "sinaLogin")));
    auto web =
        std::dynamic_pointer_cast<TpLoginViewController>(window_->topViewController()->shared_from_this());
    ASSERT_TRUE(web);
    EXPECT_EQ(web->tpId, 6);

    authorizeOnPage(*web);
    ASSERT_TRUE(waitUntil([&] { return rootClass() != "WelcomeViewController"; }, 20000ms));
    // The landing redirect was refused, so the page shown is still the provider's.
    EXPECT_TRUE(landed(*web, "/passport/web/access?"));
    EXPECT_EQ(web->webView->currentUrl().find("/web/access"), std::string::npos);
    EXPECT_EQ(AlertRegistry::shared().shownAlertTitles(), std::vector<std::string>{});

    // The sandbox redeemed the one-time code, so the query reached it intact.
    ASSERT_TRUE(UserContext::getUser());
    EXPECT_EQ(UserContext::getUser()->tpId, 6);
    EXPECT_FALSE(UserContext::hasCompleteGuide());
    EXPECT_EQ(rootClass(), "CustomNavigationController");
    EXPECT_EQ(window_->topViewController(), window_->rootViewController());
    auto tokens = LoginUser::initFromData();
    ASSERT_TRUE(tokens);
    EXPECT_FALSE(tokens->pToken.empty());
}

TEST_F(ExternalSignInTest, RenewingAnExpiredDoubanAuthorizationConfirmsAndPops) {
    signInNewUser(7, "douban_reader");
    ASSERT_TRUE(UserContext::getUser());
    ASSERT_TRUE(UserContext::getUser()->tokenExpired);
    auto expired = std::make_shared<AuthorizeExpiredViewController>(7);
    auto navigation = showPushed(expired);
    EXPECT_EQ(hudText(navigation->view()), "(none)");

    ASSERT_TRUE(UserInput::tap(*InterfaceDescription::viewWithId(expired->view(), "openAuthorize")));
    auto web =
        std::dynamic_pointer_cast<TpLoginViewController>(window_->topViewController()->shared_from_this());
    ASSERT_TRUE(web);
    EXPECT_EQ(web->authorizeType, TpLoginViewController::kAuthorize);
    authorizeOnPage(*web);
    ASSERT_TRUE(waitUntil([&] { return window_->topViewController() != web.get(); }, 20000ms));

    EXPECT_TRUE(landed(*web, "/passport/authorize/access?"));
    EXPECT_FALSE(UserContext::getUser()->tokenExpired);
    EXPECT_EQ(hudText(navigation->view()), "授权成功");
    EXPECT_EQ(navigation->topViewController(), expired.get());
    advance(2s);
    EXPECT_NE(navigation->topViewController(), expired.get());
}

TEST_F(ExternalSignInTest, BindingQqToAnAccountConfirmsAndPops) {
    signInNewUser();
    auto bind = std::make_shared<AuthorizeBindViewController>();
    auto navigation = showPushed(bind);
    ASSERT_TRUE(UserInput::tapRow(*bind->tpLoginTableView, {0, 1}));
    auto web =
        std::dynamic_pointer_cast<TpLoginViewController>(window_->topViewController()->shared_from_this());
    ASSERT_TRUE(web);
    EXPECT_EQ(web->authorizeType, TpLoginViewController::kBind);
    EXPECT_EQ(web->tpId, 8);
    authorizeOnPage(*web);
    ASSERT_TRUE(waitUntil([&] { return window_->topViewController() != web.get(); }, 20000ms));

    EXPECT_TRUE(landed(*web, "/passport/authorize/bindAccess?"));
    EXPECT_EQ(UserContext::getUser()->tpId, 8);
    EXPECT_EQ(hudText(navigation->view()), "绑定成功");
    advance(2s);
    EXPECT_NE(navigation->topViewController(), bind.get());
}

TEST_F(ExternalSignInTest, AReplayedAuthorizationIsRefusedAndTheWebScreenStays) {
    auto welcome = std::make_shared<WelcomeViewController>();
    window_->setRootViewController(welcome);
    window_->makeKeyAndVisible();
    auto web = std::make_shared<TpLoginViewController>(8, TpLoginViewController::kLogin);
    welcome->presentModalViewController(web, false);
    ASSERT_TRUE(waitUntil([&] { return !web->webView->isLoading() && !web->webView->pageTitle().empty(); }));
    // A landing URL whose code the service never issued.
    web->webView->clickLink("/passport/web/access?code=" + std::string(32, 'a') + "&tp=8");
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }, 20000ms));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "授权失败，请重新授权");
    EXPECT_EQ(window_->topViewController(), web.get());
    EXPECT_EQ(UserContext::getUid(), 0);
}

}  // namespace
}  // namespace zorlet::test
