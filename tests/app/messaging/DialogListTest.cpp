#include "MessagingTestSupport.h"

#include "messaging/DialogContentViewController.h"
#include "messaging/DialogService.h"
#include "messaging/SmsListCell.h"
#include "messaging/SmsViewController.h"
#include "model/Dialog.h"
#include "net/PagerCell.h"
#include "people/TaHomeViewController.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

class DialogListTest : public MessagingTest {
protected:
    void SetUp() override {
        MessagingTest::SetUp();
        signInAs(1, 1);
        Json list = Json::array({dialogJson(10, 2, 1, "在吗？", 1.5e12), dialogJson(11, 3, 3, "明天见")});
        server_.onJson("/dialog/dialogList", pageJson(list, true));
    }
    std::shared_ptr<SmsViewController> openList() {
        auto list = std::make_shared<SmsViewController>();
        navigation_ = showInMessageStack(list);
        EXPECT_TRUE(waitLoaded(*list));
        return list;
    }
    bool waitLoaded(SmsViewController& list) {
        return waitUntil([&] { return !list.reloading && list.data && list.data->count() > 0; });
    }
    std::shared_ptr<SmsListCell> cellAt(SmsViewController& list, int row) {
        return std::dynamic_pointer_cast<SmsListCell>(list.cellForRow(*list.tableView, IndexPath{0, row}));
    }
    std::shared_ptr<MessageNavigationController> navigation_;
};

TEST_F(DialogListTest, DialogRecordsReadTheServersFields) {
    auto dialog = Dialog::convertFromDictionary(dialogJson(7, 2, 1, "hi", 1500));
    EXPECT_EQ(dialog->objIdentity(), 7);
    EXPECT_DOUBLE_EQ(dialog->createTime, 1.5);
    EXPECT_TRUE(dialog->isSendToMe());
    ASSERT_TRUE(dialog->targetUser);
    EXPECT_EQ(dialog->targetUser->uid, 2);
    EXPECT_FALSE(Dialog::convertFromDictionary(dialogJson(8, 2, 2, "hi"))->isSendToMe());
    auto empty = Dialog::convertFromDictionary(Json::object());
    EXPECT_EQ(empty->dialogId, 0);
    EXPECT_TRUE(empty->latestContent.empty());

    auto message = DialogContent::convertFromDictionary(messageJson(5, 2, 1, "看", "http://x/p.jpg", "abc"));
    EXPECT_TRUE(message->hasImg);
    EXPECT_EQ(message->clientMsgId, "abc");
    EXPECT_EQ(message->sendStatus, DialogContent::Loaded);
    EXPECT_FALSE(DialogContent::convertFromDictionary(messageJson(6, 2, 1, "无图"))->hasImg);
}

TEST_F(DialogListTest, RowsShowWhoSpokeLastTheQuotedMessageAndThePagerRow) {
    auto list = openList();
    EXPECT_EQ(list->title(), "消息");
    EXPECT_EQ(server_.lastRequestTo("/dialog/dialogList").param("page"), "1");
    ASSERT_EQ(list->tableView->numberOfRows(0), 3);
    auto first = cellAt(*list, 0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->latestContentLabel->text(), "\"在吗？\"");
    EXPECT_EQ(first->targetImageView->image()->name(), "tasaytome.png");
    EXPECT_EQ(first->nicknameLabel->text(), "用户2");
    EXPECT_EQ(cellAt(*list, 1)->targetImageView->image()->name(), "isaytota.png");
    EXPECT_LE(first->timeLabel->frame().maxX(), SmsListCell::kTimeRightEdge + 0.01);
    EXPECT_EQ(list->heightForRow(*list->tableView, IndexPath{0, 0}), 70);
    EXPECT_EQ(list->heightForRow(*list->tableView, IndexPath{0, 2}), PagerCell::kHeight);
    EXPECT_FALSE(list->canEditRow(*list->tableView, IndexPath{0, 2}));
    EXPECT_TRUE(list->canEditRow(*list->tableView, IndexPath{0, 1}));

    server_.onJson("/dialog/dialogList", Json{{"success", true},
                                              {"result",
                                               {{"pager", {{"currentPage", 2}, {"hasNext", false}}},
                                                {"list", Json::array({dialogJson(12, 4, 1, "第二页")})}}}}
                                             .dump());
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, IndexPath{0, 2}));
    ASSERT_TRUE(waitForRequests("/dialog/dialogList", 2));
    EXPECT_EQ(server_.lastRequestTo("/dialog/dialogList").param("page"), "2");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 3; }));
    EXPECT_EQ(list->tableView->numberOfRows(0), 3);
}

TEST_F(DialogListTest, TheTabBadgeIsClearedByLoadingAndABadgeOnReturnReloads) {
    auto list = openList();
    EXPECT_TRUE(navigation_->tabBarItem().badgeValue().empty());
    Application::shared().setApplicationIconBadgeNumber(5);
    navigation_->tabBarItem().setBadgeValue("2");
    auto other = std::make_shared<ViewController>();
    navigation_->pushViewController(other, false);
    navigation_->popViewController();
    ASSERT_TRUE(waitForRequests("/dialog/dialogList", 2));
    EXPECT_EQ(Application::shared().applicationIconBadgeNumber(), 0);
    ASSERT_TRUE(waitUntil([&] { return navigation_->tabBarItem().badgeValue().empty(); }));

    // Without a badge, coming back only redraws.
    navigation_->pushViewController(std::make_shared<ViewController>(), false);
    navigation_->popViewController();
    settle();
    EXPECT_EQ(server_.countOf("/dialog/dialogList"), 2u);
}

TEST_F(DialogListTest, EditingDeletesADialogOnlyWhenTheServerAgrees) {
    auto list = openList();
    EXPECT_EQ(list->editButton->title(), "删除");
    list->editButton->touch(TouchUpInside);
    EXPECT_TRUE(list->tableView->isEditing());
    EXPECT_EQ(list->editButton->title(), "完成");

    server_.onJson("/dialog/deleteDialog", R"({"success":false,"errorInfo":""})");
    list->commitEditingStyle(*list->tableView, TableViewCellEditingStyle::Delete, IndexPath{0, 0});
    ASSERT_TRUE(waitForRequests("/dialog/deleteDialog", 1));
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "网络不给力，稍后再试吧");
    EXPECT_EQ(list->data->count(), 2u);
    AlertRegistry::shared().clear();

    server_.onJson("/dialog/deleteDialog", R"({"success":true})");
    list->commitEditingStyle(*list->tableView, TableViewCellEditingStyle::Delete, IndexPath{0, 0});
    ASSERT_TRUE(waitForRequests("/dialog/deleteDialog", 2));
    EXPECT_EQ(server_.lastRequestTo("/dialog/deleteDialog").param("dialogId"), "10");
    EXPECT_EQ(server_.lastRequestTo("/dialog/deleteDialog").method, "POST");
    ASSERT_TRUE(waitUntil([&] { return list->data->count() == 1; }));
    EXPECT_EQ(std::static_pointer_cast<Dialog>(list->data->objectAtIndex(0))->dialogId, 11);
    EXPECT_TRUE(list->tableView->isEditing());
    list->editButton->touch(TouchUpInside);
    EXPECT_EQ(list->editButton->title(), "删除");
}

TEST_F(DialogListTest, ARowOpensTheConversationAndTheAvatarTheUsersHomeWithTheSameRecord) {
    auto list = openList();
    server_.onJson("/dialog/dialogContentList", pageJson(Json::array()));
    auto target = std::static_pointer_cast<Dialog>(list->data->objectAtIndex(0))->targetUser;
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, IndexPath{0, 0}));
    auto conversation =
        std::dynamic_pointer_cast<DialogContentViewController>(navigation_->viewControllers().back());
    ASSERT_TRUE(conversation);
    EXPECT_EQ(conversation->targetUser, target);
    EXPECT_TRUE(conversation->hidesBottomBarWhenPushed());
    navigation_->popViewController();

    cellAt(*list, 1)->logoClick();
    auto home = std::dynamic_pointer_cast<TaHomeViewController>(navigation_->viewControllers().back());
    ASSERT_TRUE(home);
    EXPECT_EQ(home->user, std::static_pointer_cast<Dialog>(list->data->objectAtIndex(1))->targetUser);
}

TEST_F(DialogListTest, TheMessageStackIsItsSegmentControlsDelegate) {
    auto list = openList();
    auto& control = navigation_->segmentedControl();
    EXPECT_EQ(control->delegate(), navigation_.get());
    ASSERT_EQ(control->buttons().size(), 2u);
    EXPECT_EQ(control->buttons()[0]->title(), "私信");
    EXPECT_EQ(control->buttons()[1]->title(), "留言");
    EXPECT_TRUE(control->buttons()[0]->isSelected());
    control->buttons()[1]->touch(TouchUpInside);
    settle();
    EXPECT_EQ(server_.countOf("/dialog/dialogList"), 1u);
}

TEST_F(DialogListTest, TheServiceChecksTheLengthAndReportsHowASendEnded) {
    auto shared = std::make_shared<DialogContent>();
    DialogContent& message = *shared;
    message.receiverUid = 2;
    std::optional<std::string> failureText;
    bool failureFlag = true;
    auto onFailure = [&](const std::optional<std::string>& text, bool made) {
        failureText = text;
        failureFlag = made;
    };
    message.content = " \n  ";
    EXPECT_FALSE(DialogService::sendSms(shared, nullptr, {}, onFailure));
    EXPECT_EQ(failureText, std::string(DialogService::kLengthMessage));
    EXPECT_FALSE(failureFlag);
    message.content = repeated("字", 201);
    EXPECT_FALSE(DialogService::sendSms(shared, nullptr, {}, onFailure));
    settle();
    EXPECT_EQ(server_.countOf("/dialog/sendSms"), 0u);

    server_.onJson("/dialog/sendSms", R"({"success":false,"errorInfo":""})");
    message.content = repeated("字", 200);
    failureText.reset();
    ASSERT_TRUE(DialogService::sendSms(shared, nullptr, {}, onFailure));
    ASSERT_TRUE(waitUntil([&] { return failureText.has_value(); }));
    EXPECT_EQ(*failureText, "网络不给力，稍后再试吧");
    EXPECT_TRUE(failureFlag);

    acceptSends(server_);
    message.content = "  带图片\n";
    message.clientMsgId = "c0ffee";
    message.image = std::make_shared<Image>(400, 300);
    Json accepted;
    ASSERT_TRUE(DialogService::sendSms(shared, nullptr, [&](const Json& result) { accepted = result; }, {}));
    ASSERT_TRUE(waitUntil([&] { return !accepted.is_null(); }));
    auto sent = server_.lastRequestTo("/dialog/sendSms");
    EXPECT_EQ(sent.param("content"), "带图片");
    EXPECT_EQ(sent.param("uid"), "2");
    EXPECT_EQ(sent.param("clientMsgId"), "c0ffee");
    ASSERT_EQ(sent.files.size(), 1u);
    EXPECT_EQ(sent.files[0].key, "dialogImg");
    EXPECT_EQ(sent.files[0].fileName, "dialogImg.jpg");
    EXPECT_LE(sent.files[0].data.size(), 104857u);
    EXPECT_EQ(accepted["clientMsgId"], "c0ffee");
}

}  // namespace
}  // namespace zorlet::test
