#include "AppTestSupport.h"

#include "app/ConfigViewController.h"
#include "app/CustomNavigationController.h"
#include "app/FeedbackViewController.h"
#include "app/WelcomeViewController.h"
#include "people/BlacklistViewController.h"
#include "platform/ImageDiskCache.h"
#include "platform/WebImageLoader.h"
#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class ConfigTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        window_ = std::make_shared<Window>();
        Application::shared().setKeyWindow(window_.get());
    }
    void TearDown() override {
        Analytics::setUpdateCheckUrl({});
        window_.reset();
        AppTest::TearDown();
    }
    std::shared_ptr<ConfigViewController> openConfig() {
        auto config = std::make_shared<ConfigViewController>();
        navigation_ = std::make_shared<CustomNavigationController>(config);
        window_->setRootViewController(navigation_);
        window_->makeKeyAndVisible();
        return config;
    }
    std::string cellText(ConfigViewController& config, IndexPath path, bool detail = false) {
        auto cell = config.cellForRow(*config.tableView, path);
        return detail ? cell->detailTextLabel().text() : cell->textLabel().text();
    }
    std::string topClass() { return navigation_->topViewController()->className(); }

    std::shared_ptr<Window> window_;
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(ConfigTest, SectionsAndTitlesComeFromTheResources) {
    signIn(5);
    auto config = openConfig();
    TableView& table = *config->tableView;
    ASSERT_EQ(config->numberOfSections(table), 4);
    EXPECT_EQ(config->numberOfRows(table, 0), 4);
    EXPECT_EQ(config->numberOfRows(table, 3), 1);
    EXPECT_EQ(config->titleForHeader(table, 0), "帐号");
    EXPECT_EQ(cellText(*config, {0, 2}), "隐私设置");
    EXPECT_EQ(cellText(*config, {3, 0}), "退出登录");
    EXPECT_EQ(cellText(*config, {1, 3}, true), "当前版本：v" + Constant::appVersion());
    EXPECT_EQ(cellText(*config, {0, 1}, true), "未绑定");
}

TEST_F(ConfigTest, TheAccountRowFollowsTheBindingState) {
    signIn(5, true, 6, true);
    auto config = openConfig();
    EXPECT_EQ(cellText(*config, {0, 1}, true), "授权已过期");
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {0, 1}));
    EXPECT_EQ(topClass(), "AuthorizeExpiredViewController");
    EXPECT_TRUE(navigation_->topViewController()->hidesBottomBarWhenPushed());
    navigation_->popViewController(false);

    UserContext::getUser()->tokenExpired = false;
    config->viewWillAppear(false);
    EXPECT_EQ(cellText(*config, {0, 1}, true), "已绑定：新浪微博");
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {0, 1}));
    EXPECT_EQ(navigation_->topViewController(), config.get());

    UserContext::getUser()->tpId = 0;
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {0, 1}));
    EXPECT_EQ(topClass(), "AuthorizeBindViewController");
}

TEST_F(ConfigTest, RowsOpenTheirScreensAndTheStore) {
    signIn(5);
    server_.onJson("/home/v133/blacklist/list", R"({"success":true,"result":{"pager":{},"list":[]}})");
    auto config = openConfig();
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {0, 3}));
    EXPECT_EQ(topClass(), "BlacklistViewController");
    navigation_->popViewController(false);
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {1, 2}));
    EXPECT_EQ(topClass(), "FeedbackViewController");
    navigation_->popViewController(false);
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {1, 0}));
    ASSERT_FALSE(Application::shared().openedUrls().empty());
    EXPECT_EQ(Application::shared().openedUrls().back(), ConfigViewController::kStoreReviewUrl);
}

TEST_F(ConfigTest, TheUpdateCheckOffersANewVersionOrSaysThereIsNone) {
    signIn(5);
    Analytics::setUpdateCheckUrl(server_.url("/app/checkUpdate"));
    server_.onJson("/app/checkUpdate", R"({"success":true,"result":{"update":false}})");
    auto config = openConfig();
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {1, 3}));
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "无可用的版本");
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(),
              "当前版本：v" + Constant::appVersion() + "是最新版本");
    ASSERT_TRUE(UserInput::answerAlert(0));

    server_.onJson(
        "/app/checkUpdate",
        R"({"success":true,"result":{"update":true,"version":"2.0","update_log":"更快","path":"https://store.example/zorlet"}})");
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {1, 3}));
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "有可用的版本2.0");
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "更快");
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    ASSERT_TRUE(UserInput::answerAlert(1));  // 访问 Store
    EXPECT_EQ(Application::shared().openedUrls().back(), "https://store.example/zorlet");
}

TEST_F(ConfigTest, ClearingTheCacheEmptiesWhatTheLoaderKeeps) {
    signIn(5);
    auto& disk = WebImageLoader::shared().diskCache();
    ASSERT_TRUE(disk.store("http://127.0.0.1:1/a.png", "bytes"));
    auto config = openConfig();
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {2, 0}));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "确定要清除图片缓存吗？");
    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(disk.fileCount(), 1u);
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {2, 0}));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitUntil([&] { return disk.fileCount() == 0; }));
}

TEST_F(ConfigTest, LoggingOutReturnsToTheWelcomeScreen) {
    signIn(5);
    auto config = openConfig();
    ASSERT_TRUE(UserInput::tapRow(*config->tableView, {3, 0}));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "确定退出吗？");
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(
        waitUntil([&] { return dynamic_cast<WelcomeViewController*>(window_->rootViewController()); }));
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_EQ(server_.countOf("/passport/logout"), 1u);
}

TEST_F(ConfigTest, FeedbackGoesToTheServiceAccountAndFailuresKeepTheText) {
    signIn(5);
    server_.onJson("/dialog/sendSms", R"({"success":false,"errorInfo":"发送太频繁"})");
    auto feedback = std::make_shared<FeedbackViewController>();
    navigation_ = std::make_shared<CustomNavigationController>(std::make_shared<ViewController>());
    window_->setRootViewController(navigation_);
    window_->makeKeyAndVisible();
    navigation_->pushViewController(feedback, false);
    EXPECT_EQ(feedback->title(), "意见反馈");
    feedback->customTextView->setText("  希望多些活动  ");
    feedback->save();
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "发送太频繁");
    EXPECT_EQ(feedback->customTextView->text(), "  希望多些活动  ");
    auto sent = server_.lastRequestTo("/dialog/sendSms");
    EXPECT_EQ(sent.param("content"), "希望多些活动");
    EXPECT_EQ(sent.param("uid"), "2");
    AlertRegistry::shared().clear();

    server_.onJson("/dialog/sendSms", R"({"success":true,"result":{}})");
    feedback->save();
    ASSERT_TRUE(waitUntil([&] { return feedback->customTextView->text().empty(); }));
    advance(2s);
    loop().runPending();
    EXPECT_NE(navigation_->topViewController(), feedback.get());
}

}  // namespace
}  // namespace zorlet::test
