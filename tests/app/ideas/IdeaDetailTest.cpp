#include "IdeaTestSupport.h"

#include "ideas/IdeaLocationViewController.h"
#include "ideas/ShareIdeaInputViewController.h"
#include "ui/ComposeViewController.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class IdeaDetailTest : public IdeaScreenTest {
protected:
    void SetUp() override {
        IdeaScreenTest::SetUp();
        MessageComposeViewController::setCanSendText(true);
        MailComposeViewController::setCanSendMail(true);
    }
    void TearDown() override {
        MessageComposeViewController::setCanSendText(true);
        MailComposeViewController::setCanSendMail(true);
        IdeaScreenTest::TearDown();
    }
    std::shared_ptr<IdeaDetailViewController> openDetail(const Json& ideaObject) {
        auto detail = std::make_shared<IdeaDetailViewController>();
        detail->idea = Idea::convertFromDictionary(ideaObject);
        navigation_ = show(detail);
        return detail;
    }
    static void signInWithPlatform(const std::string& tpName) {
        UserContext::setUserHome(UserHome::convertFromDictionary(
            {{"userView",
              {{"uid", 1}, {"nickname", "我"}, {"cityId", 2}, {"hasGuided", 1}, {"tpName", tpName}}}}));
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(IdeaDetailTest, SectionsShowOnlyWhatTheIdeaHas) {
    Json full = ideaJson(5, 3);
    full["startTime"] = "5月1日 10:00";
    full["endTime"] = "5月1日 18:00";
    full["charge"] = 80;
    full["detail"] = "很值得一看";
    auto detail = openDetail(full);
    EXPECT_EQ(detail->contentLabel->text(), "想法5");
    EXPECT_FALSE(detail->usersButton->isHidden());
    EXPECT_EQ(detail->usersButton->title(), "3人想去");
    EXPECT_FALSE(detail->basicSection->isHidden());
    EXPECT_EQ(detail->placeLabel->text(), "北京 朝阳区 798艺术区");
    EXPECT_EQ(detail->timeLabel->text(), "5月1日 10:00 - 5月1日 18:00");
    EXPECT_EQ(detail->priceLabel->text(), "80元");
    EXPECT_FALSE(detail->detailSection->isHidden());
    EXPECT_TRUE(detail->pictureView->isHidden());
    // Stacked top to bottom, the scroll content ending 10 points below the button.
    EXPECT_LT(detail->contentLabel->frame().maxY(), detail->usersButton->frame().y());
    EXPECT_LT(detail->usersButton->frame().maxY(), detail->basicSection->frame().y());
    EXPECT_EQ(detail->detailSection->frame().y(), detail->basicSection->frame().maxY() + 15);
    EXPECT_EQ(detail->scrollView->contentSize().height, detail->wantToButton->frame().maxY() + 10);
    EXPECT_TRUE(detail->wantToButton->isEnabled());

    Idea idea;
    idea.endTime = "6月1日";
    EXPECT_EQ(IdeaDetailViewController::timeText(idea), "6月1日");
    idea.endTime.clear();
    EXPECT_EQ(IdeaDetailViewController::timeText(idea), "");
    idea.charge = 0;
    EXPECT_EQ(IdeaDetailViewController::priceText(idea), "");
    idea.place = "后海";
    EXPECT_EQ(IdeaDetailViewController::placeText(idea), "后海");

    // No place, no time, no price, no takers, no description: only the headline and the button.
    Json bare = ideaJson(6, 0, "", true);
    bare["place"] = "";
    auto plain = openDetail(bare);
    EXPECT_TRUE(plain->basicSection->isHidden());
    EXPECT_TRUE(plain->detailSection->isHidden());
    EXPECT_TRUE(plain->usersButton->isHidden());
    EXPECT_FALSE(plain->wantToButton->isEnabled());
    EXPECT_EQ(plain->wantToButton->frame().y(), plain->contentLabel->frame().maxY() + 10);
}

TEST_F(IdeaDetailTest, OpenedWithOnlyAnIdLoadsTheIdea) {
    server_.onJson("/idea/showIdea", Json{{"success", true}, {"result", ideaJson(77, 2)}}.dump());
    auto detail = std::make_shared<IdeaDetailViewController>();
    detail->ideaId = 77;
    show(detail);
    EXPECT_EQ(ProgressHUD::HUDForView(&detail->view())->labelText(), "加载中...");
    ASSERT_TRUE(waitUntil([&] { return detail->idea != nullptr; }));
    EXPECT_EQ(server_.lastRequestTo("/idea/showIdea").param("ideaId"), "77");
    EXPECT_EQ(detail->contentLabel->text(), "想法77");
    EXPECT_FALSE(detail->scrollView->isHidden());
    loop().runPending();
    EXPECT_EQ(ProgressHUD::HUDForView(&detail->view()), nullptr);
}

TEST_F(IdeaDetailTest, LoadFailuresAreReportedAndLeaveTheScreenEmpty) {
    server_.onJson("/idea/showIdea", refusalEnvelopeText("这个好主意已经不存在了"));
    auto refused = std::make_shared<IdeaDetailViewController>();
    refused->ideaId = 3;
    show(refused);
    ASSERT_TRUE(alertShown(kGenericText));  // a refusal is treated as a failed request
    EXPECT_EQ(refused->idea, nullptr);
    EXPECT_TRUE(refused->scrollView->isHidden());
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(false);
    auto offline = std::make_shared<IdeaDetailViewController>();
    offline->ideaId = 3;
    show(offline);
    EXPECT_EQ(ProgressHUD::HUDForView(&offline->view()), nullptr);
    EXPECT_EQ(server_.countOf("/idea/showIdea"), 1u);
    Reachability::shared().setNetworkAvailable(true);

    server_.onJson("/idea/showIdea", "{}", 401);
    auto rejected = std::make_shared<IdeaDetailViewController>();
    rejected->ideaId = 4;  // another address than the refused one, which the download cache holds
    show(rejected);
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
}

TEST_F(IdeaDetailTest, WantToGoOpensTheTakersWithTheTipAndFailuresChangeNothing) {
    server_.onJson("/idea/users", pagedJson(Json::array()));
    server_.onJson("/post/sendPost", refusalEnvelopeText(""));
    auto detail = openDetail(ideaJson(8, 1));
    ASSERT_TRUE(UserInput::tap(*detail->wantToButton));
    ASSERT_TRUE(alertShown(kGenericText));
    EXPECT_EQ(detail->idea->useCount, 1);
    EXPECT_TRUE(detail->wantToButton->isEnabled());
    AlertRegistry::shared().clear();

    server_.onJson("/post/sendPost", R"({"success":true})");
    ASSERT_TRUE(UserInput::tap(*detail->wantToButton));
    ASSERT_TRUE(waitUntil([&] { return detail->idea->hasUsed; }));
    EXPECT_EQ(detail->usersButton->title(), "2人想去");
    EXPECT_FALSE(detail->wantToButton->isEnabled());
    advance(2s);
    auto* takers = topScreen<IdeaUsersViewController>(*navigation_);
    ASSERT_NE(takers, nullptr);
    EXPECT_TRUE(takers->dateTip);
    EXPECT_EQ(takers->idea, detail->idea);
}

TEST_F(IdeaDetailTest, TappingThePlaceOpensItsMap) {
    server_.onJson("/idea/v133/location", R"({"success":true,"result":[116.4,39.9]})");
    auto detail = openDetail(ideaJson(9));
    ASSERT_TRUE(UserInput::tap(*detail->placeRow));
    auto* map = topScreen<IdeaLocationViewController>(*navigation_);
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->ideaId, 9);
    EXPECT_EQ(map->place, "798艺术区");
    EXPECT_TRUE(map->hidesBottomBarWhenPushed());
}

TEST_F(IdeaDetailTest, TheShareMenuOffersWhatTheUserCanUse) {
    auto detail = openDetail(ideaJson(10));
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "分享Zorlet好主意");
    EXPECT_EQ(sheet->buttonTitle(0), "分享到邮件");
    EXPECT_EQ(sheet->buttonTitle(1), "分享到短信");
    EXPECT_EQ(sheet->buttonTitle(sheet->cancelButtonIndex()), "取消");
    EXPECT_EQ(detail->shareToThirdparyButtonIdex, -1);

    // SMS: the composer with the idea's text; a failed send is reported.
    ASSERT_TRUE(UserInput::answerSheet(1));
    auto* sms = dynamic_cast<MessageComposeViewController*>(ComposeViewController::presentedComposer());
    ASSERT_NE(sms, nullptr);
    EXPECT_EQ(sms->body(), detail->idea->shareSmsText());
    sms->answer(ComposeResult::Failed);
    ASSERT_TRUE(alertShown("短信发送失败"));
    EXPECT_EQ(ComposeViewController::presentedComposer(), nullptr);
    AlertRegistry::shared().clear();

    // Mail: the subject and the HTML body.
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    ASSERT_TRUE(UserInput::answerSheet(0));
    auto* mail = dynamic_cast<MailComposeViewController*>(ComposeViewController::presentedComposer());
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->subject(), "分享Zorlet好主意");
    EXPECT_EQ(mail->messageBody(), detail->idea->shareMailText());
    EXPECT_TRUE(mail->isBodyHTML());
    mail->cancel();
    EXPECT_EQ(ComposeViewController::presentedComposer(), nullptr);

    // Devices that cannot send say so.
    MessageComposeViewController::setCanSendText(false);
    MailComposeViewController::setCanSendMail(false);
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(alertShown("设备没有短信功能"));
    AlertRegistry::shared().clear();
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(alertShown("用户没有设置邮件账户"));
    AlertRegistry::shared().clear();

    // Cancel does nothing.
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    ASSERT_TRUE(UserInput::answerSheet(AlertRegistry::shared().topSheet()->cancelButtonIndex()));
    EXPECT_EQ(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(detail->modalViewController(), nullptr);
}

TEST_F(IdeaDetailTest, ABoundPlatformComesFirstAndOpensTheShareEditor) {
    signInWithPlatform("weibo");
    server_.onJson("/idea/shareIdea", R"({"success":true})");
    Json withPlace = ideaJson(12);
    auto detail = openDetail(withPlace);
    ASSERT_TRUE(UserInput::tap(*detail->shareButton));
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->buttonTitle(0), "分享到新浪微博");
    EXPECT_EQ(sheet->buttonTitle(1), "分享到邮件");
    EXPECT_EQ(sheet->buttonTitle(2), "分享到短信");
    ASSERT_TRUE(UserInput::answerSheet(0));

    auto* modal = dynamic_cast<NavigationController*>(detail->modalViewController());
    ASSERT_NE(modal, nullptr);
    auto* editor = dynamic_cast<ShareIdeaInputViewController*>(modal->topViewController());
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->title(), "分享到新浪微博");
    EXPECT_EQ(editor->textView->text(), "想一起去：想法12么？地点：798艺术区");
    EXPECT_FALSE(editor->textView->isFirstResponder());
    advance(500ms);
    EXPECT_TRUE(editor->textView->isFirstResponder());

    editor->textView->setText("一起去看展吧");
    ASSERT_TRUE(UserInput::tap(*editor->sendButton));
    auto* hud = ProgressHUD::HUDForView(&editor->view());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "已分享");
    EXPECT_EQ(hud->yOffset(), -77);
    ASSERT_TRUE(waitForRequests("/idea/shareIdea", 1));
    EXPECT_EQ(server_.lastRequestTo("/idea/shareIdea").param("content"), "一起去看展吧");
    EXPECT_EQ(server_.lastRequestTo("/idea/shareIdea").param("ideaId"), "12");
    EXPECT_NE(detail->modalViewController(), nullptr);
    advance(2s);
    EXPECT_EQ(detail->modalViewController(), nullptr);
}

TEST_F(IdeaDetailTest, WithoutANetworkTheShareEditorKeepsTheText) {
    auto idea = Idea::convertFromDictionary(ideaJson(13));
    auto editor = std::make_shared<ShareIdeaInputViewController>();
    editor->idea = idea;
    editor->navTitle = "分享到豆瓣社区";
    show(editor);
    Reachability::shared().setNetworkAvailable(false);
    ASSERT_TRUE(UserInput::tap(*editor->sendButton));
    EXPECT_EQ(ProgressHUD::HUDForView(&editor->view()), nullptr);
    advance(3s);
    EXPECT_TRUE(editor->isViewLoaded());
    EXPECT_EQ(server_.countOf("/idea/shareIdea"), 0u);
}

}  // namespace
}  // namespace zorlet::test
