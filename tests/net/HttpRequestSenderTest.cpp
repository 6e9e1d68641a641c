#include "net/Constant.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"
#include "ui/AlertView.h"
#include "ui/ProgressHUD.h"
#include "ui/View.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

namespace zorlet::test {
namespace {

constexpr const char* kGeneric = "网络不给力，稍后再试吧";

class HttpRequestSenderTest : public ::testing::Test {
protected:
    void SetUp() override {
        UrlUtils::setBaseUrl(server_.url());
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
        HttpRequestDelegate::setSessionRejectedHandler([this] { ++signOuts_; });
    }
    void TearDown() override {
        HttpRequestDelegate::setSessionRejectedHandler({});
        Reachability::shared().setNetworkAvailable(true);
        AlertRegistry::shared().clear();
    }

    // Runs a request through doRequest until it succeeded or failed.
    bool run(const HttpRequestPtr& request, View* lockView = nullptr) {
        bool succeeded = false;
        bool failed = false;
        HttpRequestSender::doRequest(
            request, lockView, [&](const Json&) { succeeded = true; }, [&] { failed = true; });
        EXPECT_TRUE(waitUntil([&] { return succeeded || failed; }));
        return succeeded;
    }

    std::vector<std::string> alertTitles() const { return AlertRegistry::shared().shownAlertTitles(); }

    ScriptedServer server_;
    int signOuts_ = 0;
};

TEST_F(HttpRequestSenderTest, UrlsAreTheBaseAndTheUriUnchanged) {
    EXPECT_EQ(UrlUtils::urlStringWithUri("passport/v132/login"), server_.url("/passport/v132/login"));
    EXPECT_EQ(UrlUtils::urlStringWithUri("passport/v132/tpAccess/6?code=a b"),
              server_.url("/passport/v132/tpAccess/6?code=a b"));
    EXPECT_EQ(UrlUtils::apiHost(), "127.0.0.1");
}

TEST_F(HttpRequestSenderTest, QueryJoinsEveryPairAfterQuestionMarkOrAmpersand) {
    Json params = {{"page", 2}, {"uid", 15}};
    std::string plain = HttpRequestSender::urlWithQuery("http://h/list", params);
    EXPECT_TRUE(plain == "http://h/list?page=2&uid=15" || plain == "http://h/list?uid=15&page=2") << plain;
    std::string withQuery = HttpRequestSender::urlWithQuery("http://h/list?type=1", params);
    EXPECT_TRUE(withQuery == "http://h/list?type=1&page=2&uid=15" ||
                withQuery == "http://h/list?type=1&uid=15&page=2")
        << withQuery;
    EXPECT_EQ(HttpRequestSender::urlWithQuery("http://h/a b", Json::object()), "http://h/a b");
    EXPECT_EQ(
        HttpRequestSender::createGetRequestWithUrl(UrlUtils::urlStringWithUri("base/categoryList"))->url(),
        server_.url("/base/categoryList"));
}

TEST_F(HttpRequestSenderTest, UserTextInAQueryArrivesIntact) {
    server_.onJson("/search", R"({"success":true})");
    Json params = {{"keyword", "咖啡 & 茶=好#1+2"}, {"page", 1}};
    ASSERT_TRUE(run(HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("search"), params)));
    auto recorded = server_.lastRequestTo("/search");
    EXPECT_EQ(recorded.query.size(), 2u);
    EXPECT_EQ(recorded.param("keyword"), "咖啡 & 茶=好#1+2");
    EXPECT_EQ(recorded.param("page"), "1");
}

TEST_F(HttpRequestSenderTest, PostsCarryFormFieldsAndTheDefaultHeaderWhenEmpty) {
    server_.onJson("/save", R"({"success":true})");
    ASSERT_TRUE(run(HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("save"),
                                                          {{"nickname", "小明"}, {"remember", true}})));
    ASSERT_TRUE(run(HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("save"))));
    auto requests = server_.requestsTo("/save");
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[0].param("nickname"), "小明");
    EXPECT_EQ(requests[0].param("remember"), "1");
    EXPECT_EQ(requests[1].header("Content-Type"), "application/html;charset=UTF-8;");
}

TEST_F(HttpRequestSenderTest, OnlyJsonTrueIsSuccessAndRefusalsShowTheirTextOrTheGenericOne) {
    server_.onJson("/one", R"({"success":1,"errorInfo":"昵称已存在"})");
    server_.onJson("/null", R"({"success":false,"errorInfo":null})");
    server_.onJson("/empty", R"({"success":false,"errorInfo":""})");
    server_.onJson("/missing", R"({"errorInfo":"x"})");
    server_.onJson("/html", "<html>maintenance</html>");
    server_.onJson("/array", "[true]");
    for (const char* path : {"one", "null", "empty", "missing", "html", "array"}) {
        EXPECT_FALSE(run(HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri(path)))) << path;
    }
    EXPECT_EQ(alertTitles(),
              (std::vector<std::string>{"昵称已存在", kGeneric, kGeneric, "x", kGeneric, kGeneric}));
    AlertView* top = AlertRegistry::shared().topAlert();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->buttonTitles(), (std::vector<std::string>{"关闭"}));
    EXPECT_EQ(top->message(), "");
}

TEST_F(HttpRequestSenderTest, RefusalHidesTheProgressIndicatorOnTheLockView) {
    server_.onJson("/refuse", R"({"success":false,"errorInfo":"不行"})");
    auto window = std::make_shared<View>(Rect(0, 0, 320, 480));
    ProgressHUD::showHUDAddedTo(window.get(), true)->setLabelText("操作中...");
    ASSERT_NE(ProgressHUD::HUDForView(window.get()), nullptr);
    EXPECT_FALSE(
        run(HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("refuse")), window.get()));
    auto* hud = ProgressHUD::HUDForView(window.get());
    EXPECT_TRUE(hud == nullptr || !hud->isShown());
}

TEST_F(HttpRequestSenderTest, NoNetworkMeansNoRequestAndOnlyForegroundCallersAlert) {
    Reachability::shared().setNetworkAvailable(false);
    EXPECT_FALSE(HttpRequestSender::backgroundGetRequestWithUrl(UrlUtils::urlStringWithUri("x")));
    EXPECT_FALSE(HttpRequestSender::backgroundPostRequestWithUrl(UrlUtils::urlStringWithUri("x")));
    EXPECT_TRUE(alertTitles().empty());

    EXPECT_FALSE(HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("x")));
    AlertView* alert = AlertRegistry::shared().topAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "网络状态");
    EXPECT_EQ(alert->message(), "网络不存在");
    EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"确定"}));

    bool called = false;
    HttpRequestSender::doRequest(
        nullptr, nullptr, [&](const Json&) { called = true; }, [&] { called = true; });
    MainLoop::main().runPending();
    EXPECT_FALSE(called);
    EXPECT_EQ(server_.requests().size(), 0u);
}

TEST_F(HttpRequestSenderTest, TransportFailureShowsTheGenericMessage) {
    server_.on("/drop", [](const RecordedRequest&, Reply& reply) {
        reply.body = "{\"success\":";
        reply.drop = true;
    });
    EXPECT_FALSE(run(HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("drop"))));
    EXPECT_EQ(alertTitles(), (std::vector<std::string>{kGeneric}));
    EXPECT_EQ(signOuts_, 0);
}

TEST_F(HttpRequestSenderTest, Http401SignsOutWithoutAnyAlert) {
    server_.onJson("/private", R"({"success":false,"errorInfo":"请登录"})", 401);
    EXPECT_FALSE(run(HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("private"))));
    EXPECT_EQ(signOuts_, 1);
    EXPECT_TRUE(alertTitles().empty());
}

TEST(ConstantTest, PhoneModelsComeFromTheTableAndUnknownOnesAreEmpty) {
    EXPECT_EQ(Constant::phoneTypeForMachine("iPhone3,2"), "iPhone 4");
    EXPECT_EQ(Constant::phoneTypeForMachine("iPhone5,3"), "iPhone 5");
    EXPECT_EQ(Constant::phoneTypeForMachine("iPad2,6"), "iPad Mini");
    EXPECT_EQ(Constant::phoneTypeForMachine("iPad3,6"), "iPad4");
    EXPECT_EQ(Constant::phoneTypeForMachine("x86_64"), "");
    EXPECT_EQ(Constant::phoneTypeForMachine(""), "");
    Constant::setMachineIdentifier("iPod5,1");
    EXPECT_EQ(Constant::phoneType(), "iPod Touch5");
    EXPECT_EQ(Constant::appVersion(), "1.2.0");
}

}  // namespace
}  // namespace zorlet::test
