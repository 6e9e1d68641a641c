#include "UiTestSupport.h"

#include "support/ScriptedServer.h"
#include "ui/WebView.h"

#include <atomic>

using namespace zorlet;
using zorlet::test::Reply;
using zorlet::test::ScriptedServer;
using Lines = std::vector<std::string>;

namespace {

class Navigator : public WebViewDelegate {
public:
    Lines asked;
    Lines events;
    std::string refuseContaining;

    bool webViewShouldStartLoad(WebView&, const std::string& url, WebNavigationType type) override {
        asked.push_back(url);
        return refuseContaining.empty() || url.find(refuseContaining) == std::string::npos;
    }
    void webViewDidStartLoad(WebView&) override { events.push_back("start"); }
    void webViewDidFinishLoad(WebView& web) override { events.push_back("finish " + web.pageTitle()); }
    void webViewDidFailLoad(WebView&, const WebViewError& error) override {
        events.push_back("fail " + error.message);
    }
    bool settled() const {
        return !events.empty() &&
               (events.back().rfind("finish", 0) == 0 || events.back().rfind("fail", 0) == 0);
    }
};

class WebViewTest : public zorlet::test::UiTest {
protected:
    void SetUp() override {
        UiTest::SetUp();
        server.on("/login", [this](const auto&, Reply& reply) {
            reply.status = 302;
            reply.headers.push_back({"Location", server.url("/provider/authorize?client=1")});
        });
        server.on("/provider/authorize", [](const auto&, Reply& reply) {
            reply.status = 302;
            reply.headers.push_back({"Location", "/web/access?code=abc&state=2"});  // relative hop
        });
        server.on("/web/access", [](const auto&, Reply& reply) {
            reply.contentType = "text/html; charset=UTF-8";
            reply.body = "<html><head><title>完成</title></head><body>ok</body></html>";
        });
        server.on("/page", [](const auto&, Reply& reply) {
            reply.contentType = "text/html";
            reply.body = "<title>Page</title>";
        });
        web->setDelegate(&navigator);
    }

    ScriptedServer server;
    Navigator navigator;
    std::shared_ptr<WebView> web = std::make_shared<WebView>(Rect(0, 0, 320, 416));
};

TEST_F(WebViewTest, EveryRedirectHopAsksTheDelegateBeforeItIsLoaded) {
    web->loadRequest(server.url("/login"));
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    EXPECT_EQ(navigator.asked, (Lines{server.url("/login"), server.url("/provider/authorize?client=1"),
                                      server.url("/web/access?code=abc&state=2")}));
    EXPECT_EQ(navigator.events, (Lines{"start", "finish 完成"}));
    EXPECT_EQ(web->currentUrl(), server.url("/web/access?code=abc&state=2"));
    EXPECT_EQ(server.countOf("/web/access"), 1u);
    EXPECT_FALSE(web->isLoading());
}

TEST_F(WebViewTest, ARefusedHopIsNeverFetchedAndEndsTheLoad) {
    navigator.refuseContaining = "/web/access";
    web->loadRequest(server.url("/login"));
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    EXPECT_EQ(navigator.asked.size(), 3u);
    EXPECT_EQ(navigator.events, (Lines{"start", "fail Frame load interrupted"}));
    EXPECT_EQ(server.countOf("/web/access"), 0u);
    EXPECT_TRUE(web->currentUrl().empty());
}

TEST_F(WebViewTest, HistoryGoesBackToThePreviousPage) {
    web->loadRequest(server.url("/page"));
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    EXPECT_FALSE(web->canGoBack());
    navigator.events.clear();
    web->clickLink("/login");
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    ASSERT_TRUE(web->canGoBack());
    navigator.events.clear();
    web->goBack();
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    EXPECT_EQ(web->currentUrl(), server.url("/page"));
    EXPECT_FALSE(web->canGoBack());
}

TEST_F(WebViewTest, AnUnreachableHostFailsAndAFirstRefusalLoadsNothing) {
    navigator.refuseContaining = "/page";
    web->loadRequest(server.url("/page"));
    EXPECT_TRUE(navigator.events.empty());
    EXPECT_FALSE(web->isLoading());

    navigator.refuseContaining.clear();
    web->loadRequest("http://127.0.0.1:1/nothing");
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return navigator.settled(); }));
    EXPECT_EQ(navigator.events.front(), "start");
    EXPECT_EQ(navigator.events.back().rfind("fail", 0), 0u);
}

TEST_F(WebViewTest, AWebViewGoneBeforeTheAnswerIsLeftAlone) {
    std::atomic<bool> answered{false};
    server.on("/slow", [&](const auto&, Reply& reply) {
        reply.stall = std::chrono::milliseconds(100);
        reply.body = "late";
        answered = true;
    });
    web->loadRequest(server.url("/slow"));
    web.reset();
    MainLoop::main().runUntil([&] { return answered.load(); }, Duration(3000));
    MainLoop::main().runUntil([] { return false; }, Duration(200));
    EXPECT_EQ(navigator.events, (Lines{"start"}));
}

}  // namespace
