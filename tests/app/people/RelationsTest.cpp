#include "PeopleTestSupport.h"

#include "people/BlacklistViewController.h"
#include "people/CommonUserListCell.h"
#include "people/InterestUserViewController.h"
#include "people/InviteInputViewController.h"
#include "people/RescueUserListCell.h"
#include "people/RescueUsersViewController.h"
#include "people/TaHomeViewController.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class RelationsTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        server_.onJson("/home/v132/userInfo", R"({"success":false})");
    }
    std::string lastAlert() {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert ? alert->title() : "";
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(RelationsTest, FollowListsChooseTheirTitleAndPath) {
    signInAs(1, 1);
    server_.onJson("/home/interestList", pageJson(Json::array({userJson(2, 0), userJson(3, 1)}), true));
    server_.onJson("/home/interestMeList", pageJson(Json::array({userJson(4, 0)})));

    auto following = std::make_shared<InterestUserViewController>(true);
    navigation_ = show(following);
    ASSERT_TRUE(waitUntil([&] { return following->data->count() == 2 && !following->reloading; }));
    EXPECT_EQ(following->title(), "我的关注");
    EXPECT_EQ(server_.lastRequestTo("/home/interestList").param("page"), "1");
    TableView& table = *following->tableView;
    ASSERT_EQ(following->numberOfRows(table, 0), 3);
    EXPECT_EQ(following->heightForRow(table, {0, 0}), 60);
    EXPECT_EQ(following->heightForRow(table, {0, 2}), 40);
    ASSERT_TRUE(UserInput::tapRow(table, {0, 2}));
    ASSERT_TRUE(waitForRequests("/home/interestList", 2));
    EXPECT_EQ(server_.lastRequestTo("/home/interestList").param("page"), "2");

    ASSERT_TRUE(UserInput::tapRow(table, {0, 0}));
    auto* home = dynamic_cast<TaHomeViewController*>(navigation_->topViewController());
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->user, following->data->objectAtIndex(0));

    auto followers = std::make_shared<InterestUserViewController>(false);
    navigation_ = show(followers);
    ASSERT_TRUE(waitUntil([&] { return followers->data->count() == 1 && !followers->reloading; }));
    EXPECT_EQ(followers->title(), "我的粉丝");
    EXPECT_EQ(server_.countOf("/home/interestMeList"), 1u);
}

TEST_F(RelationsTest, UnblockingRemovesTheRowOnlyWhenTheServerAgrees) {
    signInAs(1, 1);
    server_.onJson("/home/v133/blacklist/list",
                   pageJson(Json::array({userJson(2, 0), userJson(3, 1)}), true));
    auto blacklist = std::make_shared<BlacklistViewController>();
    navigation_ = show(blacklist);
    ASSERT_TRUE(waitUntil([&] { return blacklist->data->count() == 2 && !blacklist->reloading; }));
    EXPECT_EQ(blacklist->title(), "被我屏蔽的人");
    TableView& table = *blacklist->tableView;
    EXPECT_FALSE(blacklist->canEditRow(table, {0, 2}));  // the pager row
    EXPECT_TRUE(blacklist->canEditRow(table, {0, 1}));

    ASSERT_TRUE(UserInput::tap(*blacklist->editButton));
    EXPECT_TRUE(table.isEditing());
    EXPECT_EQ(blacklist->editButton->title(), "完成");

    server_.onJson("/home/v133/blacklist/cancel", R"({"success":false,"errorInfo":"操作太频繁"})");
    blacklist->commitEditingStyle(table, TableViewCellEditingStyle::Delete, {0, 0});
    ASSERT_TRUE(waitUntil([&] { return !lastAlert().empty(); }));
    EXPECT_EQ(lastAlert(), "操作太频繁");
    EXPECT_EQ(blacklist->data->count(), 2u);
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    AlertRegistry::shared().clear();

    server_.onJson("/home/v133/blacklist/cancel", R"({"success":true})");
    blacklist->commitEditingStyle(table, TableViewCellEditingStyle::Delete, {0, 0});
    ASSERT_TRUE(waitUntil([&] { return blacklist->data->count() == 1; }));
    EXPECT_EQ(server_.lastRequestTo("/home/v133/blacklist/cancel").param("shieldUid"), "2");
    EXPECT_EQ(blacklist->data->objectAtIndex(0)->objIdentity(), 3);
    EXPECT_TRUE(table.isEditing());

    ASSERT_TRUE(UserInput::tap(*blacklist->editButton));
    EXPECT_FALSE(table.isEditing());
    EXPECT_EQ(blacklist->editButton->title(), "删除");
}

TEST_F(RelationsTest, RescueInvitationsMarkTheUserAndSurviveScrolling) {
    signInAs(1, 1);
    Json users = Json::array({userJson(1, 1), userJson(2, 0), userJson(3, 1)});
    server_.onJson("/post/v135/rescueUsers", Json{{"success", true}, {"result", {{"list", users}}}}.dump());
    auto rescue = std::make_shared<RescueUsersViewController>("周末去爬山");
    navigation_ = show(rescue);
    ASSERT_TRUE(waitUntil([&] { return rescue->users.size() == 3; }));
    // Invited earlier through another row of the same record.
    rescue->users[2]->isBeDated = true;
    rescue->tableView->reloadData();
    EXPECT_EQ(rescue->title(), "再约几个人同去吧");
    TableView& table = *rescue->tableView;
    auto* me = dynamic_cast<RescueUserListCell*>(table.cellForRow({0, 0}));
    ASSERT_NE(me, nullptr);
    EXPECT_TRUE(me->sendDateButton->isHidden());
    auto* other = dynamic_cast<RescueUserListCell*>(table.cellForRow({0, 1}));
    ASSERT_NE(other, nullptr);
    EXPECT_TRUE(other->sendDateButton->isEnabled());

    server_.onJson("/dialog/v135/rescueUser", R"({"success":false,"errorInfo":null})");
    ASSERT_TRUE(UserInput::tap(*other->sendDateButton));
    ASSERT_TRUE(waitUntil([&] { return !lastAlert().empty(); }));
    EXPECT_EQ(lastAlert(), "网络不给力，稍后再试吧");
    EXPECT_TRUE(other->sendDateButton->isEnabled());
    AlertRegistry::shared().clear();

    server_.onJson("/dialog/v135/rescueUser", R"({"success":true})");
    ASSERT_TRUE(UserInput::tap(*other->sendDateButton));
    ASSERT_TRUE(waitUntil([&] { return rescue->users[1]->isBeDated; }));
    auto sent = server_.lastRequestTo("/dialog/v135/rescueUser");
    EXPECT_EQ(sent.param("uid"), "2");
    EXPECT_EQ(sent.param("postContent"), "周末去爬山");
    EXPECT_FALSE(other->sendDateButton->isEnabled());
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get())->labelText(), "发送成功，ta看到会开心的");

    // A row made again for the same records keeps the invited state.
    table.reloadData();
    auto* again = dynamic_cast<RescueUserListCell*>(table.cellForRow({0, 1}));
    ASSERT_NE(again, nullptr);
    EXPECT_FALSE(again->sendDateButton->isEnabled());
    auto* already = dynamic_cast<RescueUserListCell*>(table.cellForRow({0, 2}));
    EXPECT_FALSE(already->sendDateButton->isEnabled());
}

TEST_F(RelationsTest, ANullRescueListShowsNothingAndNoError) {
    signInAs(1, 1);
    server_.onJson("/post/v135/rescueUsers", R"({"success":true,"result":{"list":null}})");
    auto rescue = std::make_shared<RescueUsersViewController>("x");
    navigation_ = show(rescue);
    ASSERT_TRUE(waitForRequests("/post/v135/rescueUsers", 1));
    ASSERT_TRUE(waitUntil([&] { return ProgressHUD::HUDForView(window_.get()) == nullptr; }));
    EXPECT_TRUE(rescue->users.empty());
    EXPECT_TRUE(lastAlert().empty());
}

TEST_F(RelationsTest, TheInvitationFormThanksWhateverTheServerSaysAndCloses) {
    signInAs(1, 1);
    server_.onJson("/home/invite", R"({"success":false,"errorInfo":"不行"})");
    auto presenter = std::make_shared<ViewController>();
    navigation_ = show(presenter);
    auto form = std::make_shared<InviteInputViewController>("邀请好友");
    presenter->presentModalViewController(form, false);
    EXPECT_EQ(form->textView->text(), InviteInputViewController::kDefaultText);
    advance(500ms);
    EXPECT_EQ(Keyboard::shared().firstResponder(), form->textView.get());

    form->textView->setText("");
    form->sendShare();
    ASSERT_TRUE(waitForRequests("/home/invite", 1));
    EXPECT_EQ(server_.lastRequestTo("/home/invite").param("content"), "");
    EXPECT_EQ(ProgressHUD::HUDForView(&form->view())->labelText(), "邀请成功");
    settle();
    EXPECT_TRUE(lastAlert().empty());
    advance(2s);
    loop().runPending();
    EXPECT_EQ(presenter->modalViewController(), nullptr);
}

}  // namespace
}  // namespace zorlet::test
