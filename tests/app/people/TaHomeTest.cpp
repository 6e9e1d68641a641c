#include "PeopleTestSupport.h"

#include "messaging/DialogContentViewController.h"
#include "people/PostDetailViewController.h"
#include "people/PostListCell.h"
#include "people/PrepareDateTaViewController.h"
#include "people/TaHomeViewController.h"
#include "people/UserLocationViewController.h"
#include "people/UserPostViewController.h"
#include "people/WholeImageViewController.h"
#include "platform/Reachability.h"
#include "platform/TextLayout.h"
#include "session/LoginService.h"
#include "ui/AlertRegistry.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

Json preferenceJson(int id, int inputType) {
    return {{"preferenceId", id},
            {"title", "问题" + std::to_string(id)},
            {"inputType", inputType},
            {"answer", Json::array({"1"})},
            {"displayAnswer", "回答" + std::to_string(id)}};
}

Json homeJson(int uid, Json extra = Json::object(), Json location = nullptr) {
    Json user = userJson(uid, 1, nullptr, std::move(location));
    user["feature"] = "喜欢爬山";
    user["cityName"] = "北京";
    user["postCount"] = 3;
    user["hasInterest"] = 0;
    Json home = {{"userView", user}, {"registerTime", 1356998400}, {"preferenceViews", Json::array()}};
    for (auto& [key, value] : extra.items()) {
        home[key] = value;
    }
    return Json{{"success", true}, {"result", home}};
}

class TaHomeTest : public PeopleTest {
protected:
    std::shared_ptr<TaHomeViewController> openHome(int uid, const std::string& answer) {
        server_.onJson("/home/v132/userInfo", answer);
        auto home = std::make_shared<TaHomeViewController>();
        home->user = User::convertFromDictionary(userJson(uid, 1));
        navigation_ = show(home);
        EXPECT_TRUE(waitUntil([&] { return ProgressHUD::HUDForView(&home->view()) == nullptr; }));
        return home;
    }
    std::string lastAlert() {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert ? alert->title() : "";
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(TaHomeTest, LoadsTheHomeAndBuildsItsSections) {
    signInAs(1, 1, 2, 39.9, 116.4);
    Json preferences = Json::array();
    for (int i = 1; i <= 5; ++i) {
        preferences.push_back(preferenceJson(i, 1));
    }
    auto home = openHome(7, homeJson(7,
                                     {{"preferenceViews", preferences},
                                      {"phoneType", "iPhone 5"},
                                      {"userPlace", "三里屯"},
                                      {"latitude", 39.9},
                                      {"longitude", 116.4}},
                                     {116.41, 39.9})
                                .dump());
    EXPECT_EQ(server_.lastRequestTo("/home/v132/userInfo").param("uid"), "7");
    EXPECT_EQ(home->title(), "用户7");
    ASSERT_TRUE(home->userHome);
    EXPECT_EQ(home->postListButton->title(), "3");
    EXPECT_EQ(home->section2Rows,
              (std::vector<int>{TaHomeViewController::Feature, TaHomeViewController::City}));
    EXPECT_EQ(home->section3Rows,
              (std::vector<int>{TaHomeViewController::LastPlace, TaHomeViewController::Phone,
                                TaHomeViewController::Activity, TaHomeViewController::JoinDate}));
    TableView& table = *home->infoTableView;
    EXPECT_EQ(home->numberOfSections(table), 4);
    EXPECT_EQ(home->numberOfRows(table, 2), 4);
    EXPECT_EQ(home->numberOfRows(table, 3), 1);
    auto joined = home->cellForRow(table, {1, 3});
    EXPECT_EQ(joined->textLabel().text(), "加入时间");
    EXPECT_EQ(joined->detailTextLabel().text(), "2013.01.01");
    auto answer = home->cellForRow(table, {3, 0});
    EXPECT_EQ(answer->textLabel().text(), "问题5");
    EXPECT_EQ(answer->detailTextLabel().text(), "回答5");

    // As the table lays them out: the introduction under its label, the phone at the right.
    TableViewCell* feature = table.cellForRow({0, 0});
    ASSERT_NE(feature, nullptr);
    EXPECT_EQ(feature->frame().height(), home->heightForRow(table, {0, 0}));
    EXPECT_EQ(feature->detailTextLabel().frame().x(), 10);
    EXPECT_GE(feature->detailTextLabel().frame().y(), feature->textLabel().frame().maxY());
    EXPECT_EQ(feature->detailTextLabel().frame().maxY(), feature->frame().height() - 10);
    TableViewCell* phone = table.cellForRow({1, 1});
    ASSERT_NE(phone, nullptr);
    EXPECT_GT(phone->detailTextLabel().frame().x(), phone->textLabel().frame().maxX() - 1);
    EXPECT_EQ(phone->detailTextLabel().textAlignment(), TextAlignment::Right);
    // The location icon sits left of the distance text without covering it.
    ASSERT_FALSE(home->locationIcon->isHidden());
    double textWidth = std::ceil(
        TextLayout::shared().measure(home->infoLabel->text(), home->infoLabel->font(), 0, 25).width);
    EXPECT_LE(home->locationIcon->frame().maxX(), home->infoLabel->frame().maxX() - textWidth);

    // Buttons: a stranger can be followed, written to and invited.
    EXPECT_FALSE(home->interestButton->isHidden());
    EXPECT_TRUE(home->cancelInterestButton->isHidden());
    EXPECT_FALSE(home->smsButton->isHidden());
    EXPECT_FALSE(home->dateButton->isHidden());

    ASSERT_TRUE(UserInput::tapRow(table, {1, 0}));
    auto* map = dynamic_cast<UserLocationViewController*>(navigation_->topViewController());
    ASSERT_NE(map, nullptr);
}

TEST_F(TaHomeTest, FourPreferencesMakeOneSectionAndSecretsHideRows) {
    signInAs(1, 1);
    Json preferences = Json::array();
    for (int i = 1; i <= 4; ++i) {
        preferences.push_back(preferenceJson(i, 2));
    }
    auto home = openHome(7, homeJson(7, {{"preferenceViews", preferences},
                                         {"phoneType", "iPhone 5"},
                                         {"phoneSecret", true},
                                         {"latitude", 39.9},
                                         {"longitude", 116.4},
                                         {"locationSecret", true}})
                                .dump());
    EXPECT_EQ(home->numberOfSections(*home->infoTableView), 3);
    EXPECT_EQ(home->section3Rows,
              (std::vector<int>{TaHomeViewController::Activity, TaHomeViewController::JoinDate}));

    auto shown = openHome(8, homeJson(8, {{"latitude", 39.9}, {"longitude", 116.4}}).dump());
    ASSERT_FALSE(shown->section3Rows.empty());
    EXPECT_EQ(shown->section3Rows.front(), TaHomeViewController::LastPlace);
    EXPECT_EQ(shown->cellForRow(*shown->infoTableView, {1, 0})->detailTextLabel().text(), "请点击查看...");
}

TEST_F(TaHomeTest, OnesOwnHomeHasNoActions) {
    signInAs(7, 1);
    auto home = openHome(7, homeJson(7).dump());
    EXPECT_TRUE(home->isMe);
    for (const auto& button :
         {home->interestButton, home->cancelInterestButton, home->smsButton, home->dateButton}) {
        EXPECT_TRUE(button->isHidden());
        EXPECT_FALSE(button->isEnabled());
    }
}

TEST_F(TaHomeTest, FollowingAndUnfollowingChangeTheButtonsOnlyWhenTheServerAgrees) {
    signInAs(1, 1);
    auto home = openHome(7, homeJson(7).dump());
    // A success that is not the JSON value true is a refusal.
    server_.onJson("/home/interest", R"({"success":1})");
    ASSERT_TRUE(UserInput::tap(*home->interestButton));
    ASSERT_TRUE(waitUntil([&] { return !lastAlert().empty(); }));
    EXPECT_EQ(lastAlert(), "网络不给力，稍后再试吧");
    EXPECT_EQ(home->user->hasInterest, 0);
    EXPECT_FALSE(home->interestButton->isHidden());
    AlertRegistry::shared().clear();

    server_.onJson("/home/interest", R"({"success":true})");
    ASSERT_TRUE(UserInput::tap(*home->interestButton));
    ASSERT_TRUE(waitUntil([&] { return home->user->hasInterest == 1; }));
    EXPECT_EQ(server_.lastRequestTo("/home/interest").param("uid"), "7");
    EXPECT_TRUE(home->interestButton->isHidden());
    EXPECT_FALSE(home->cancelInterestButton->isHidden());
    EXPECT_EQ(ProgressHUD::HUDForView(&home->view())->labelText(), "关注成功");
    advance(2s);

    server_.onJson("/home/removeInterest", R"({"success":true})");
    ASSERT_TRUE(UserInput::tap(*home->cancelInterestButton));
    EXPECT_EQ(lastAlert(), "确定取消关注？");
    ASSERT_TRUE(UserInput::answerAlert(0));
    settle();
    EXPECT_EQ(server_.countOf("/home/removeInterest"), 0u);
    ASSERT_TRUE(UserInput::tap(*home->cancelInterestButton));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitUntil([&] { return home->user->hasInterest == 0; }));
    EXPECT_FALSE(home->interestButton->isHidden());
    EXPECT_TRUE(home->cancelInterestButton->isHidden());
}

TEST_F(TaHomeTest, AMessageOpensTheConversationOnTheSameRecordAndNoNetworkSendsNothing) {
    signInAs(1, 1);
    server_.onJson("/dialog/dialogContentList", R"({"success":true,"result":{"list":[]}})");
    auto home = openHome(7, homeJson(7).dump());
    ASSERT_TRUE(UserInput::tap(*home->smsButton));
    settle();
    auto* conversation = dynamic_cast<DialogContentViewController*>(navigation_->topViewController());
    ASSERT_NE(conversation, nullptr);
    EXPECT_EQ(conversation->targetUser, home->user);
    EXPECT_TRUE(conversation->hidesBottomBarWhenPushed());
    navigation_->popViewController(false);
    settle();

    Reachability::shared().setNetworkAvailable(false);
    ASSERT_TRUE(UserInput::tap(*home->interestButton));
    settle();
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(server_.countOf("/home/interest"), 0u);
    EXPECT_EQ(ProgressHUD::HUDForView(&home->view()), nullptr);
    EXPECT_EQ(home->user->hasInterest, 0);
    Reachability::shared().setNetworkAvailable(true);
}

TEST_F(TaHomeTest, AnHttp401OnFollowingSignsOut) {
    LoginService::getInstance();
    signInAs(1, 1);
    auto home = openHome(7, homeJson(7).dump());
    server_.onJson("/home/interest", "{}", 401);
    ASSERT_TRUE(UserInput::tap(*home->interestButton));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_EQ(ProgressHUD::HUDForView(&home->view()), nullptr);
    EXPECT_EQ(home->user->hasInterest, 0);
    EXPECT_FALSE(home->interestButton->isHidden());
    EXPECT_TRUE(home->cancelInterestButton->isHidden());
}

TEST_F(TaHomeTest, AnInvitationWithoutANetworkIsNotSentAndTheScreenStays) {
    signInAs(1, 1);
    auto home = openHome(7, homeJson(7).dump());
    ASSERT_TRUE(UserInput::tap(*home->dateButton));
    auto* invite = dynamic_cast<PrepareDateTaViewController*>(navigation_->topViewController());
    ASSERT_NE(invite, nullptr);
    invite->textView->setText("周末去爬山");

    Reachability::shared().setNetworkAvailable(false);
    ASSERT_NE(invite->navigationItem().rightBarButtonItem(), nullptr);
    ASSERT_TRUE(UserInput::tapBarButton(*invite->navigationItem().rightBarButtonItem()));
    settle();
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(server_.countOf("/dialog/v133/sendDate"), 0u);
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    advance(3s);
    loop().runPending();
    EXPECT_EQ(navigation_->topViewController(), invite);
    EXPECT_EQ(invite->textView->text(), "周末去爬山");
}

TEST_F(TaHomeTest, MoreReportsAtOnceAndBlocksAfterAsking) {
    signInAs(1, 1);
    server_.onJson("/home/v133/report/save", R"({"success":true})");
    server_.onJson("/home/v133/blacklist/shield", R"({"success":false,"errorInfo":"已经屏蔽"})");
    auto home = openHome(7, homeJson(7).dump());
    home->more();
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "更多");
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(waitForRequests("/home/v133/report/save", 1));
    auto report = server_.lastRequestTo("/home/v133/report/save");
    EXPECT_EQ(report.param("reportUid"), "7");
    EXPECT_EQ(report.param("reportType"), "0");
    EXPECT_EQ(report.param("contentType"), "3");
    EXPECT_EQ(report.param("contentId"), "7");
    ASSERT_TRUE(waitUntil([&] {
        auto* hud = ProgressHUD::HUDForView(&navigation_->view());
        return hud != nullptr && hud->labelText() == "感谢举报，我们核实后会尽快处理";
    }));
    advance(2s);
    loop().runPending();

    home->more();
    ASSERT_TRUE(UserInput::answerSheet(1));
    EXPECT_EQ(lastAlert(), "确定要把用户7加入黑名单么？");
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitForRequests("/home/v133/blacklist/shield", 1));
    EXPECT_EQ(server_.lastRequestTo("/home/v133/blacklist/shield").param("shieldUid"), "7");
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "已经屏蔽"; }));
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
}

TEST_F(TaHomeTest, AFailedLoadKeepsTheHeaderFromThePassedUser) {
    signInAs(1, 1);
    auto home = openHome(7, R"({"success":false,"errorInfo":"用户不存在"})");
    ASSERT_TRUE(waitUntil([&] { return !lastAlert().empty(); }));
    EXPECT_EQ(lastAlert(), "用户不存在");
    EXPECT_FALSE(home->userHome);
    EXPECT_EQ(home->numberOfSections(*home->infoTableView), 2);
    EXPECT_EQ(home->numberOfRows(*home->infoTableView, 1), 2);  // activity and joining date
}

TEST_F(TaHomeTest, ThePostCountOpensTheListOnlyWhenThereArePosts) {
    signInAs(1, 1);
    server_.onJson("/home/posts", pageJson(Json::array({postJson(30, 7, "去看海")})));
    Json empty = homeJson(7);
    empty["result"]["userView"]["postCount"] = 0;
    auto none = openHome(7, empty.dump());
    ASSERT_TRUE(UserInput::tap(*none->postListButton));
    EXPECT_EQ(navigation_->topViewController(), none.get());

    auto some = openHome(7, homeJson(7).dump());
    ASSERT_TRUE(UserInput::tap(*some->postListButton));
    auto* posts = dynamic_cast<UserPostViewController*>(navigation_->topViewController());
    ASSERT_NE(posts, nullptr);
    EXPECT_EQ(posts->title(), "用户7的Zorlet");
    ASSERT_TRUE(waitUntil([&] { return posts->data->count() == 1 && !posts->reloading; }));
    EXPECT_EQ(server_.lastRequestTo("/home/posts").param("uid"), "7");
}

TEST_F(TaHomeTest, PostRowHeightsFollowTheViewerTextAndPicture) {
    signInAs(1, 1);
    auto line = Post::convertFromDictionary(postJson(30, 7, "短"));
    double h = TextLayout::shared()
                   .measure("爬山：短", Font::systemFont(14), PostListCell::kTextWidth, 1000,
                            LineBreakMode::CharacterWrap)
                   .height;
    EXPECT_DOUBLE_EQ(PostListCell::heightForCell(*line), std::max(h + 28 + 35, 50.0));
    auto mine = Post::convertFromDictionary(postJson(31, 1, "短"));
    EXPECT_DOUBLE_EQ(PostListCell::heightForCell(*mine), std::max(h + 28, 50.0));
    auto pictured = Post::convertFromDictionary(postJson(32, 1, "短", true, 2));
    EXPECT_DOUBLE_EQ(PostListCell::heightForCell(*pictured), std::max(h + 28 + 80 + 25, 50.0));
}

TEST_F(TaHomeTest, InvitationsAreCheckedSentAndTheScreenLeaves) {
    signInAs(1, 1);
    server_.onJson("/dialog/v133/sendDate", R"({"success":true})");
    server_.onJson("/dialog/v133/dateRandom", R"({"success":true,"result":""})");
    auto home = openHome(7, homeJson(7).dump());
    ASSERT_TRUE(UserInput::tap(*home->dateButton));
    auto* invite = dynamic_cast<PrepareDateTaViewController*>(navigation_->topViewController());
    ASSERT_NE(invite, nullptr);
    EXPECT_EQ(invite->title(), "约用户7");
    EXPECT_EQ(invite->user, home->user);

    std::string tooLong;
    for (int i = 0; i < 161; ++i) {
        tooLong += "约";
    }
    invite->textView->setText(tooLong);
    invite->save();
    EXPECT_EQ(lastAlert(), "请不要超过160字");
    AlertRegistry::shared().clear();

    invite->textView->setText("周末去爬山");
    invite->dateRandom();
    ASSERT_TRUE(waitForRequests("/dialog/v133/dateRandom", 1));
    settle();
    EXPECT_EQ(invite->textView->text(), "周末去爬山");

    server_.onJson("/dialog/v133/dateRandom", R"({"success":true,"result":"一起去看电影吧"})");
    invite->dateRandom();
    ASSERT_TRUE(waitUntil([&] { return invite->textView->text() == "一起去看电影吧"; }));

    invite->save();
    ASSERT_TRUE(waitForRequests("/dialog/v133/sendDate", 1));
    auto sent = server_.lastRequestTo("/dialog/v133/sendDate");
    EXPECT_EQ(sent.param("content"), "一起去看电影吧");
    EXPECT_EQ(sent.param("targetUid"), "7");
    ASSERT_TRUE(waitUntil([&] {
        return ProgressHUD::HUDForView(&navigation_->view()) != nullptr &&
               ProgressHUD::HUDForView(&navigation_->view())->labelText() == "发送成功，ta看到会开心的";
    }));
    advance(2s);
    loop().runPending();
    EXPECT_EQ(navigation_->topViewController(), home.get());
}

TEST_F(TaHomeTest, WholePicturesAreShownAtHalfSizeWithinTwiceTheScreen) {
    Image small(200, 100);
    EXPECT_EQ(WholeImageViewController::displaySize(small).width, 100);
    EXPECT_EQ(WholeImageViewController::displaySize(small).height, 50);
    Image wide(1280, 400);
    Size fitted = WholeImageViewController::displaySize(wide);
    EXPECT_EQ(fitted.width, 320);
    EXPECT_EQ(fitted.height, 100);
}

}  // namespace
}  // namespace zorlet::test
