#include "ProfileTestSupport.h"

#include "platform/Calendar.h"
#include "profile/ProfessionEditorViewController.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class GuideFormTest : public ProfileFormTest {
protected:
    void SetUp() override {
        ProfileFormTest::SetUp();
        Json user = profileUser(false);
        // A new account: nothing but the nickname and a gender the guide ignores.
        for (const char* key : {"birthYear", "birthMonth", "birthDay", "professionId", "profession",
                                "provinceId", "provinceName", "cityId", "cityName"}) {
            user.erase(key);
        }
        signInAs(user);
    }

    // Taps "开始Zorlet" and returns the message shown, if any.
    std::string start(GuideSettingViewController& guide) {
        AlertRegistry::shared().clear();
        EXPECT_TRUE(UserInput::tap(*guide.startButton));
        AlertView* alert = AlertRegistry::shared().topAlert();
        std::string title = alert != nullptr ? alert->title() : std::string();
        if (alert != nullptr) {
            UserInput::answerAlert(0);
        }
        return title;
    }
};

TEST_F(GuideFormTest, RefusesToStartUntilEachFieldIsChosenInOrder) {
    auto guide = openGuide();
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->title(), "设置Zorlet名片");
    EXPECT_EQ(guide->startButton->title(), "开始Zorlet");
    EXPECT_FALSE(guide->tableView->isScrollEnabled());
    ASSERT_EQ(guide->tableView->numberOfSections(), 4);
    EXPECT_EQ(guide->tableView->numberOfRows(1), 3);
    EXPECT_EQ(guide->tableView->numberOfRows(2), 2);
    EXPECT_EQ(guide->tableView->numberOfRows(3), 1);
    // The user's gender is not taken over: the guide asks for it.
    EXPECT_EQ(guide->genderLabel->text(), "");
    EXPECT_EQ(guide->genderLabel->tag(), -1);
    // The nickname row opens nothing.
    ASSERT_TRUE(tapRow(*guide, 1, 0));
    EXPECT_EQ(navigation_->topViewController(), guide.get());

    EXPECT_EQ(start(*guide), "请选择性别");
    ASSERT_TRUE(tapRow(*guide, 1, 1));
    ASSERT_TRUE(UserInput::answerSheet(1));
    EXPECT_EQ(start(*guide), "请填写生日");
    ASSERT_TRUE(tapRow(*guide, 1, 2));
    ASSERT_TRUE(UserInput::pickDate(*guide->datePicker(), Calendar::timeOf(DateParts{1991, 3, 7})));
    ASSERT_TRUE(tapDone());
    EXPECT_EQ(start(*guide), "请选择所在地");
    ASSERT_TRUE(tapRow(*guide, 2, 0));
    // Nothing chosen before: the first province and its first city.
    EXPECT_EQ(guide->locationPicker()->selectedRow(0), 0);
    ASSERT_TRUE(tapDone());
    EXPECT_EQ(guide->locationLabel->text(), "东城区");
    EXPECT_EQ(start(*guide), "请选择职业");
    EXPECT_EQ(server_.countOf("/profile/guide"), 0u);
}

TEST_F(GuideFormTest, CompletingTheGuideOpensTheTabShell) {
    Json completed = profileUser(true);
    std::size_t guideEvents = eventCount("userGuide");
    server_.onJson("/profile/guide", savedUserEnvelope(completed));
    auto guide = openGuide();
    ASSERT_NE(guide, nullptr);
    ASSERT_TRUE(tapRow(*guide, 1, 1));
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(tapRow(*guide, 1, 2));
    ASSERT_TRUE(UserInput::pickDate(*guide->datePicker(), Calendar::timeOf(DateParts{1991, 3, 7})));
    ASSERT_TRUE(tapDone());
    ASSERT_TRUE(tapRow(*guide, 2, 0));
    ASSERT_TRUE(UserInput::pickRow(*guide->locationPicker(), 1, 0));
    ASSERT_TRUE(tapDone());
    ASSERT_TRUE(tapRow(*guide, 2, 1));
    auto profession = topEditor<ProfessionEditorViewController>();
    ASSERT_NE(profession, nullptr);
    // A profession id of 0 is a free text: "其它" comes up first.
    EXPECT_TRUE(profession->isOtherSelected());
    ASSERT_TRUE(UserInput::pickRow(*profession->professionPicker, 0, 0));
    ASSERT_TRUE(tapConfirm(*profession));
    EXPECT_EQ(guide->professionLabel->text(), "学生");

    EXPECT_EQ(start(*guide), "");
    ASSERT_TRUE(waitForRequests("/profile/guide"));
    auto request = server_.lastRequestTo("/profile/guide");
    EXPECT_EQ(request.param("gender"), "0");
    EXPECT_EQ(request.param("birth"), "1991-03-07");
    EXPECT_EQ(request.param("cityId"), "120101");
    EXPECT_EQ(request.param("professionId"), "1");
    EXPECT_EQ(request.param("profession"), "学生");
    EXPECT_FALSE(request.hasParam("feature"));
    ASSERT_TRUE(waitUntil([&] { return UserContext::hasCompleteGuide(); }));
    EXPECT_EQ(eventCount("userGuide"), guideEvents + 1);
    EXPECT_EQ(root()->className(), "CustomNavigationController");
    advance(2s);
    EXPECT_EQ(root()->className(), "ZorletTabBarController");
}

TEST_F(GuideFormTest, LeavingTheGuideSignsOutAfterAsking) {
    auto guide = openGuide();
    ASSERT_NE(guide, nullptr);
    auto leave = guide->navigationItem().leftBarButtonItem();
    ASSERT_NE(leave, nullptr);
    EXPECT_EQ(leave->title(), "退出");
    ASSERT_TRUE(UserInput::tapBarButton(*leave));
    AlertView* alert = AlertRegistry::shared().topAlert();
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->title(), "提示");
    EXPECT_EQ(alert->message(), "确定退出吗？");
    EXPECT_EQ(alert->buttonTitles(), (std::vector<std::string>{"取消", "确认"}));
    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_TRUE(UserContext::hasLogin());

    ASSERT_TRUE(UserInput::tapBarButton(*leave));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ProgressHUD* hud = ProgressHUD::HUDForView(&navigation_->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "账号注销...");
    ASSERT_TRUE(waitUntil([&] { return root()->className() == "WelcomeViewController"; }));
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_EQ(server_.countOf("/passport/logout"), 1u);
}

}  // namespace
}  // namespace zorlet::test
