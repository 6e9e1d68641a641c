#include "LoginScreenTest.h"

#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "session/TpLoginDelegate.h"
#include "session/TpLoginViewController.h"

#include <chrono>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// The provider pages of a scripted service: the first page links to "authorize",
// which redirects to the landing path with a query the client must pass on untouched.
class TpLoginTest : public LoginScreenTest {
protected:
    static constexpr const char* kQuery = "code=a%2Bb%3D&tp=6&state=x%3Dy%26z";

    void SetUp() override {
        LoginScreenTest::SetUp();
        server_.on("/passport/tpLogin/6", [](const RecordedRequest&, Reply& reply) {
            reply.contentType = "text/html";
            reply.body =
                "<html><title>微博授权</title><a href=\"/passport/tpLogin/6/authorize\">授权</a></html>";
        });
        server_.on("/passport/tpLogin/6/authorize", [this](const RecordedRequest&, Reply& reply) {
            reply.status = 302;
            reply.headers.push_back({"Location", server_.url(std::string("/passport/web/access?") + kQuery)});
        });
        server_.on("/passport/web/access", [](const RecordedRequest&, Reply& reply) {
            reply.contentType = "text/html";
            reply.body = "<html><title>landing</title></html>";
        });
    }
    TpLoginViewController& presentSignIn() {
        auto screen = std::make_shared<TpLoginViewController>(6, TpLoginViewController::kLogin);
        welcome_->presentModalViewController(screen, true);
        EXPECT_TRUE(waitUntil([&] { return screen->webView->pageTitle() == "微博授权"; }));
        return *screen;
    }
};

TEST_F(TpLoginTest, TheInterceptedRedirectIsNeverLoadedAndItsQueryReachesTheServiceUnchanged) {
    server_.onJson("/passport/v132/tpAccess/6", homeEnvelope(31, false, 6));
    auto& screen = presentSignIn();
    EXPECT_EQ(screen.webView->currentUrl(), server_.url("/passport/tpLogin/6"));
    EXPECT_FALSE(screen.loadingView->isAnimating());

    screen.webView->clickLink("/passport/tpLogin/6/authorize");
    EXPECT_TRUE(screen.loadingView->isAnimating());
    ASSERT_TRUE(waitUntil([&] { return windowRootClass() == "CustomNavigationController"; }));

    EXPECT_EQ(server_.countOf("/passport/web/access"), 0u);
    auto sent = server_.lastRequestTo("/passport/v132/tpAccess/6");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.rawQuery, kQuery);
    EXPECT_EQ(UserContext::getUid(), 31);
    EXPECT_EQ(window_->topViewController(), window_->rootViewController());
}

TEST_F(TpLoginTest, ARefusalKeepsTheWebScreenOpenWithTheMessage) {
    server_.onJson("/passport/v132/tpAccess/6", refusalEnvelope(40, "授权失败，请重新授权"));
    auto& screen = presentSignIn();
    screen.webView->clickLink("/passport/tpLogin/6/authorize");
    ASSERT_TRUE(waitForAlertOr([] { return false; }));
    EXPECT_EQ(topAlertTitle(), "授权失败，请重新授权");
    EXPECT_EQ(window_->topViewController(), &screen);
    EXPECT_FALSE(screen.loadingView->isAnimating());
    EXPECT_EQ(UserContext::getUid(), 0);
}

TEST_F(TpLoginTest, EachTypeInterceptsOnlyItsOwnPath) {
    auto check = [&](int type, const std::string& path) {
        TpLoginViewController screen(7, type);
        // Unloaded: the interception rule alone, with no service call made for allowed loads.
        return screen.webViewShouldStartLoad(*std::make_shared<WebView>(), server_.url(path),
                                             WebNavigationType::Other);
    };
    EXPECT_TRUE(check(TpLoginViewController::kBind, "/passport/authorize/access?code=1"));
    EXPECT_TRUE(check(TpLoginViewController::kAuthorize, "/passport/web/access?code=1"));
    EXPECT_TRUE(check(TpLoginViewController::kLogin, "/passport/authorize/bindAccess?code=1"));
    EXPECT_TRUE(check(5, "/passport/web/access?code=1"));
    EXPECT_TRUE(check(TpLoginViewController::kLogin, "/passport/tpLogin/7?next=/web/access"));
    EXPECT_EQ(TpLoginViewController::firstPage(1, 7), "passport/authorize/expired/7");
    EXPECT_EQ(TpLoginViewController::firstPage(2, 8), "passport/authorize/bind/8");
    EXPECT_EQ(TpLoginViewController::firstPage(3, 8), "");
}

TEST_F(TpLoginTest, TheProviderListShowsWeiboQqDoubanAndOpensTheRightFlow) {
    auto holder = std::make_shared<ViewController>();
    holder->view();
    window_->setRootViewController(holder);
    TableView table(Rect(0, 0, 300, 105));
    for (bool isBind : {false, true}) {
        TpLoginDelegate list(holder.get(), isBind);
        table.setDataSource(&list);
        table.setDelegate(&list);
        table.reloadData();
        ASSERT_EQ(table.numberOfRows(0), 3);
        EXPECT_EQ(table.rectForRow({0, 0}).height(), 35);
        auto* weibo = table.cellForRow({0, 0});
        EXPECT_EQ(weibo->textLabel().text(), isBind ? "绑定新浪微博帐号" : "使用新浪微博帐号登录");
        EXPECT_EQ(weibo->imageView().image()->name(), "sina");
        EXPECT_EQ(weibo->accessoryType(), TableViewCell::AccessoryType::DisclosureIndicator);
        EXPECT_EQ(table.cellForRow({0, 1})->textLabel().text(), isBind ? "绑定QQ帐号" : "使用QQ帐号登录");
        EXPECT_EQ(table.cellForRow({0, 2})->imageView().image()->name(), "db");

        table.userSelectRow({0, 2});
        auto* web = dynamic_cast<TpLoginViewController*>(holder->modalViewController());
        ASSERT_NE(web, nullptr);
        EXPECT_EQ(web->tpId, 7);
        EXPECT_EQ(web->authorizeType, isBind ? 2 : 0);
        EXPECT_FALSE(table.indexPathForSelectedRow());
        holder->dismissModalViewController(false);
        table.setDataSource(nullptr);
        table.setDelegate(nullptr);
    }
    loop().runPending();
}

class AuthorizeScreensTest : public LoginScreenTest {
protected:
    template <typename Screen>
    Screen& push(std::shared_ptr<Screen> screen) {
        navigation_ = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
        window_->setRootViewController(navigation_);
        navigation_->pushViewController(screen, false);
        return *screen;
    }
    std::string hudText() const {
        auto* hud = ProgressHUD::HUDForView(&navigation_->view());
        return hud != nullptr && hud->isShown() ? hud->labelText() : "(none)";
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(AuthorizeScreensTest, AnExpiredTokenWaitsForRenewalWhileARenewedOneConfirmsAndPops) {
    signIn(3, true, 7, true);
    auto& expired = push(std::make_shared<AuthorizeExpiredViewController>(7));
    EXPECT_EQ(expired.title(), "授权设置");
    EXPECT_EQ(expired.label1->text(), "你的豆瓣授权已过期");
    EXPECT_NE(expired.label2->text().find("豆瓣"), std::string::npos);
    EXPECT_EQ(hudText(), "(none)");

    ASSERT_TRUE(tapButton(expired, "openAuthorize"));
    auto* web = dynamic_cast<TpLoginViewController*>(window_->topViewController());
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->authorizeType, 1);
    EXPECT_EQ(web->tpId, 7);

    // The renewal happened; closing the web screen shows the expired screen again.
    UserContext::getUser()->tokenExpired = false;
    web->back();
    loop().runPending();
    EXPECT_EQ(hudText(), AuthorizeExpiredViewController::kConfirmText);
    advance(1999ms);
    EXPECT_EQ(navigation_->topViewController(), &expired);
    advance(1ms);
    EXPECT_NE(navigation_->topViewController(), &expired);
    EXPECT_EQ(hudText(), "(none)");
}

TEST_F(AuthorizeScreensTest, BindingConfirmsOnceTheUserHasAProvider) {
    signIn(4);
    auto& bind = push(std::make_shared<AuthorizeBindViewController>());
    ASSERT_TRUE(bind.tpLoginTableView);
    EXPECT_EQ(bind.tpLoginTableView->cellForRow({0, 0})->textLabel().text(), "绑定新浪微博帐号");
    EXPECT_EQ(hudText(), "(none)");
    // "下次再说" pops at once.
    ASSERT_TRUE(tapButton(bind, "back"));
    EXPECT_EQ(navigation_->viewControllers().size(), 1u);

    UserContext::getUser()->tpId = 8;
    auto& again = push(std::make_shared<AuthorizeBindViewController>());
    EXPECT_EQ(hudText(), AuthorizeBindViewController::kConfirmText);
    advance(2s);
    EXPECT_NE(navigation_->topViewController(), &again);
}

}  // namespace
}  // namespace zorlet::test
