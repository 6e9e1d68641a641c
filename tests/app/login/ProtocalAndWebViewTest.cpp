#include "LoginScreenTest.h"

#include "app/WebViewController.h"
#include "session/ProtocalViewController.h"

namespace zorlet::test {
namespace {

class ProtocalAndWebViewTest : public LoginScreenTest {
protected:
    template <typename Screen>
    Screen& push(std::shared_ptr<Screen> screen) {
        navigation_ = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
        window_->setRootViewController(navigation_);
        navigation_->pushViewController(screen, false);
        return *screen;
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(ProtocalAndWebViewTest, TheTermsScrollOverTheirWholeLength) {
    auto& terms = push(std::make_shared<ProtocalViewController>());
    EXPECT_EQ(terms.title(), "使用协议");
    ASSERT_TRUE(terms.scrollView && terms.protocalView);
    EXPECT_NE(terms.protocalView->text().find("欢迎使用Zorlet"), std::string::npos);
    double height = terms.protocalView->frame().height();
    EXPECT_GT(height, terms.scrollView->frame().height());
    EXPECT_EQ(terms.scrollView->contentSize().height, height + 2 * terms.protocalView->frame().y());
}

TEST_F(ProtocalAndWebViewTest, AWebPageLoadsItsUrlWithTheWheelTurningMeanwhile) {
    server_.on("/page", [](const RecordedRequest&, Reply& reply) {
        reply.contentType = "text/html";
        reply.body = "<html><title>页面</title></html>";
    });
    auto& page = push(std::make_shared<WebViewController>(server_.url("/page"), "链接"));
    EXPECT_EQ(page.title(), "链接");
    EXPECT_TRUE(page.loadingView->isAnimating());
    ASSERT_TRUE(waitUntil([&] { return page.webView->pageTitle() == "页面"; }));
    EXPECT_FALSE(page.loadingView->isAnimating());
    EXPECT_TRUE(page.loadingView->isHidden());

    // A page that cannot be fetched stops the wheel too.
    auto& broken = push(std::make_shared<WebViewController>("http://127.0.0.1:1/nothing"));
    ASSERT_TRUE(waitUntil([&] { return !broken.webView->isLoading(); }));
    EXPECT_FALSE(broken.loadingView->isAnimating());

    // Without a URL nothing is asked for.
    auto& empty = push(std::make_shared<WebViewController>());
    EXPECT_TRUE(empty.webView->requestedUrls().empty());
}

}  // namespace
}  // namespace zorlet::test
