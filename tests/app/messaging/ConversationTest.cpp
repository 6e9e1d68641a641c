#include "MessagingTestSupport.h"

#include "messaging/DialogContentListCell.h"
#include "messaging/DialogContentViewController.h"
#include "platform/DataFolder.h"
#include "ui/Animator.h"
#include "ui/Keyboard.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <random>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// Holds the scripted server's answers until released, so that messages are still
// on their way while the test acts. Never longer than a few seconds, so a failed
// test cannot keep the server from stopping.
class HeldAnswers {
public:
    void wait() {
        std::unique_lock lock(mutex_);
        released_.wait_for(lock, 5s, [this] { return open_; });
    }
    void release() {
        std::lock_guard lock(mutex_);
        open_ = true;
        released_.notify_all();
    }

private:
    std::mutex mutex_;
    std::condition_variable released_;
    bool open_ = false;
};

class ConversationTest : public MessagingTest {
protected:
    void SetUp() override {
        MessagingTest::SetUp();
        signInAs(1, 1);
        target_ = User::convertFromDictionary(userJson(2, 0));
        // Newest first, as the service sends a page.
        server_.onJson("/dialog/dialogContentList",
                       pageJson(Json::array({messageJson(3, 2, 1, "第三条"), messageJson(2, 1, 2, "第二条"),
                                             messageJson(1, 2, 1, "第一条")})));
        server_.onJson("/dialog/refreshDialogContent", R"({"success":true,"result":{"list":[]}})");
    }
    std::shared_ptr<DialogContentViewController> open() {
        auto screen = std::make_shared<DialogContentViewController>();
        screen->targetUser = target_;
        navigation_ = show(std::make_shared<ViewController>());
        navigation_->pushViewController(screen, false);
        EXPECT_TRUE(waitUntil([&] { return screen->data && screen->data->count() >= 3; }));
        return screen;
    }
    DialogContentPtr messageAt(DialogContentViewController& screen, std::size_t row) {
        return std::static_pointer_cast<DialogContent>(screen.data->objectAtIndex(row));
    }
    DialogContentPtr typeAndSend(DialogContentViewController& screen, const std::string& text) {
        screen.textView->setText(text);
        screen.sendSms();
        return messageAt(screen, screen.data->count() - 1);
    }
    std::shared_ptr<DialogContentListCell> cellFor(DialogContentViewController& screen, std::size_t row) {
        return std::dynamic_pointer_cast<DialogContentListCell>(
            screen.cellForRow(*screen.dialogContentTableView, IndexPath{0, static_cast<int>(row)}));
    }
    std::size_t outboxCount() { return DialogOutbox::shared()->count(); }
    void TearDown() override {
        held_->release();
        MessagingTest::TearDown();
    }
    // The screen and its stack are gone: nothing holds them any more.
    void leave(std::shared_ptr<DialogContentViewController>& screen) {
        navigation_->popViewController(false);
        window_->setRootViewController(nullptr);
        navigation_.reset();
        std::weak_ptr<DialogContentViewController> gone = screen;
        screen.reset();
        loop().runPending();
        EXPECT_TRUE(gone.expired());
    }

    UserPtr target_;
    std::shared_ptr<HeldAnswers> held_ = std::make_shared<HeldAnswers>();
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(ConversationTest, OpensOnTheLatestPageOldestFirstAndPollsEveryTwentySeconds) {
    auto screen = open();
    EXPECT_EQ(screen->title(), "与 用户2 对话");
    auto page = server_.lastRequestTo("/dialog/dialogContentList");
    EXPECT_EQ(page.param("uid"), "2");
    EXPECT_EQ(page.param("page"), "1");
    EXPECT_EQ(messageAt(*screen, 0)->content, "第一条");
    EXPECT_EQ(messageAt(*screen, 2)->content, "第三条");

    server_.onJson(
        "/dialog/refreshDialogContent",
        Json{{"success", true},
             {"result",
              {{"list", Json::array({messageJson(3, 2, 1, "第三条"), messageJson(4, 2, 1, "新的")})}}}}
            .dump());
    advance(20s);
    ASSERT_TRUE(waitForRequests("/dialog/refreshDialogContent", 1));
    EXPECT_EQ(server_.lastRequestTo("/dialog/refreshDialogContent").param("uid"), "2");
    ASSERT_TRUE(waitUntil([&] { return screen->data->count() == 4; }));
    EXPECT_EQ(messageAt(*screen, 3)->content, "新的");

    // Polling ends when the screen goes.
    navigation_->popViewController();
    advance(60s);
    settle();
    EXPECT_EQ(server_.countOf("/dialog/refreshDialogContent"), 1u);
}

TEST_F(ConversationTest, MessagesGoOneAtATimeInOrderThroughWaitingSendingAndSent) {
    auto screen = open();
    auto order = std::make_shared<std::vector<std::string>>();
    auto next = std::make_shared<int>(100);
    server_.on("/dialog/sendSms", [order, next](const RecordedRequest& request, Reply& reply) {
        order->push_back(request.param("content"));
        reply = Reply::json(Json{{"success", true},
                                 {"result", messageJson((*next)++, 1, 2, request.param("content"), "",
                                                        request.param("clientMsgId"))}}
                                .dump());
        reply.stall = 200ms;
    });
    auto first = typeAndSend(*screen, "一");
    auto second = typeAndSend(*screen, "二");
    EXPECT_EQ(screen->textView->text(), "");
    EXPECT_EQ(first->sendStatus, DialogContent::Sending);
    EXPECT_EQ(second->sendStatus, DialogContent::Waiting);
    EXPECT_EQ(cellFor(*screen, 4)->warning->image()->name(), "waiting_icon");
    EXPECT_EQ(outboxCount(), 2u);

    ASSERT_TRUE(waitUntil([&] { return second->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(*order, (std::vector<std::string>{"一", "二"}));
    EXPECT_LE(server_.highestInFlight(), 1);
    EXPECT_EQ(first->dialogContentId, 100);
    EXPECT_TRUE(cellFor(*screen, 4)->warning->isHidden());
    EXPECT_EQ(outboxCount(), 0u);

    // The server's copy arriving by polling is not shown twice.
    server_.onJson(
        "/dialog/refreshDialogContent",
        Json{{"success", true}, {"result", {{"list", Json::array({messageJson(100, 1, 2, "一")})}}}}.dump());
    advance(20s);
    ASSERT_TRUE(waitForRequests("/dialog/refreshDialogContent", 1));
    settle();
    EXPECT_EQ(screen->data->count(), 5u);
}

TEST_F(ConversationTest, ATooLongOrEmptyTextIsRefusedAndStaysInTheInput) {
    auto screen = open();
    screen->textView->setText("   ");
    screen->sendSms();
    ASSERT_TRUE(AlertRegistry::shared().topAlert());
    EXPECT_EQ(AlertRegistry::shared().topAlert()->title(), "私聊内容字数控制在1-200个汉字内");
    EXPECT_EQ(screen->data->count(), 3u);
    EXPECT_EQ(screen->textView->text(), "   ");
    EXPECT_EQ(outboxCount(), 0u);
}

TEST_F(ConversationTest, AFailedMessageIsKeptAndTheFailureIconSendsItAgainUnderTheSameId) {
    auto screen = open();
    server_.on("/dialog/sendSms", [](const RecordedRequest&, Reply& reply) {
        reply.stall = 100ms;
        reply.drop = true;
    });
    auto first = typeAndSend(*screen, "断网了");
    auto second = typeAndSend(*screen, "还在排队");
    ASSERT_TRUE(waitUntil([&] { return second->sendStatus == DialogContent::Failure; }));
    EXPECT_EQ(first->sendStatus, DialogContent::Failure);
    EXPECT_EQ(server_.countOf("/dialog/sendSms"), 1u);
    ASSERT_EQ(outboxCount(), 2u);
    EXPECT_TRUE(DialogOutbox::shared()->find(first->clientMsgId)->failed);
    AlertRegistry::shared().clear();

    auto cell = cellFor(*screen, 3);
    EXPECT_EQ(cell->warning->image()->name(), "failure_icon");
    acceptSends(server_);
    cell->warning->touch(TouchUpInside);
    ASSERT_TRUE(AlertRegistry::shared().topSheet());
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(waitUntil([&] { return first->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(server_.lastRequestTo("/dialog/sendSms").param("clientMsgId"), first->clientMsgId);
    EXPECT_EQ(outboxCount(), 1u);
    // A sent message's icon offers nothing.
    cell = cellFor(*screen, 3);
    cell->warningClick();
    EXPECT_FALSE(AlertRegistry::shared().topSheet());
}

TEST_F(ConversationTest, UnsentMessagesOutliveTheScreenAndCanBeDeletedWithConfirmation) {
    {
        auto screen = open();
        server_.onJson("/dialog/sendSms", "", 500);
        auto lost = typeAndSend(*screen, "别丢下我");
        auto delivered = typeAndSend(*screen, "其实到了");
        ASSERT_TRUE(waitUntil([&] { return delivered->sendStatus == DialogContent::Failure; }));
        AlertRegistry::shared().clear();
        navigation_->popViewController();
        window_->setRootViewController(nullptr);
        navigation_.reset();
    }
    loop().runPending();
    ASSERT_EQ(outboxCount(), 2u);
    auto kept = DialogOutbox::shared()->all();

    // The service did store the second one before the answer was lost: it is in the page.
    server_.onJson("/dialog/dialogContentList",
                   pageJson(Json::array({messageJson(9, 1, 2, "其实到了", "", kept[1].clientMsgId),
                                         messageJson(1, 2, 1, "第一条"), messageJson(0, 2, 1, "更早"),
                                         messageJson(-1, 2, 1, "最早")})));
    auto screen = open();
    ASSERT_EQ(screen->data->count(), 5u);
    auto shown = messageAt(*screen, 4);
    EXPECT_EQ(shown->content, "别丢下我");
    EXPECT_EQ(shown->sendStatus, DialogContent::Failure);
    EXPECT_EQ(messageAt(*screen, 3)->content, "其实到了");
    EXPECT_EQ(outboxCount(), 1u);

    cellFor(*screen, 4)->warning->touch(TouchUpInside);
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(AlertRegistry::shared().topAlert());
    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(outboxCount(), 1u);
    cellFor(*screen, 4)->warning->touch(TouchUpInside);
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_EQ(outboxCount(), 0u);
    EXPECT_EQ(screen->data->count(), 4u);
}

TEST_F(ConversationTest, WithoutANetworkAMessageIsKeptFailedAndGoesOnceTheNetworkIsBack) {
    auto screen = open();
    Reachability::shared().setNetworkAvailable(false);
    auto offline = typeAndSend(*screen, "没有网");
    ASSERT_TRUE(AlertRegistry::shared().topAlert());
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(offline->content, "没有网");
    EXPECT_EQ(offline->sendStatus, DialogContent::Failure);
    EXPECT_EQ(screen->textView->text(), "");
    ASSERT_EQ(outboxCount(), 1u);
    AlertRegistry::shared().clear();
    // Still no network: it stays failed.
    screen->resend(offline);
    EXPECT_EQ(offline->sendStatus, DialogContent::Failure);
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(true);
    acceptSends(server_);
    screen->resend(offline);
    ASSERT_TRUE(waitUntil([&] { return offline->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(server_.countOf("/dialog/sendSms"), 1u);
    EXPECT_EQ(outboxCount(), 0u);
}

TEST_F(ConversationTest, AfterAMemoryWarningStoppedMessagesFailAndNewOnesStillGo) {
    auto screen = open();
    acceptSends(server_);
    server_.on("/dialog/sendSms", [](const RecordedRequest& request, Reply& reply) {
        reply = Reply::json(Json{
            {"success", true},
            {"result", messageJson(700, 1, 2, request.param("content"), "", request.param("clientMsgId"))}}
                                .dump());
        reply.stall = 300ms;
    });
    auto first = typeAndSend(*screen, "慢");
    auto second = typeAndSend(*screen, "更慢");
    screen->image = std::make_shared<Image>(10, 10);
    screen->didReceiveMemoryWarning();
    EXPECT_FALSE(screen->image);
    ASSERT_TRUE(waitUntil([&] {
        return first->sendStatus == DialogContent::Failure && second->sendStatus == DialogContent::Failure;
    }));
    EXPECT_TRUE(AlertRegistry::shared().topAlert() == nullptr);
    EXPECT_FALSE(screen->dialogSender->smsQueue()->isSuspended());
    EXPECT_EQ(outboxCount(), 2u);

    acceptSends(server_, 800);
    auto third = typeAndSend(*screen, "警告之后");
    ASSERT_TRUE(waitUntil([&] { return third->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(outboxCount(), 2u);
    screen->resend(second);
    ASSERT_TRUE(waitUntil([&] { return second->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(outboxCount(), 1u);
}

TEST_F(ConversationTest, MessagesStillOnTheirWayWhenTheScreenGoesAreKeptAndShownFailedOnReturn) {
    auto held = held_;
    server_.on("/dialog/sendSms", [held](const RecordedRequest& request, Reply& reply) {
        held->wait();
        reply = Reply::json(Json{
            {"success", true},
            {"result", messageJson(600, 1, 2, request.param("content"), "", request.param("clientMsgId"))}}
                                .dump());
    });
    std::vector<std::string> ids;
    {
        auto screen = open();
        for (const char* text : {"一", "二", "三"}) {
            ids.push_back(typeAndSend(*screen, text)->clientMsgId);
        }
        ASSERT_TRUE(waitForRequests("/dialog/sendSms", 1));
        EXPECT_EQ(messageAt(*screen, 3)->sendStatus, DialogContent::Sending);
        EXPECT_EQ(messageAt(*screen, 5)->sendStatus, DialogContent::Waiting);
        leave(screen);
    }
    // Nobody is sending them any more: every one is kept, marked as not on its way.
    ASSERT_EQ(outboxCount(), 3u);
    for (const auto& id : ids) {
        auto kept = DialogOutbox::shared()->find(id);
        ASSERT_TRUE(kept) << id;
        EXPECT_TRUE(kept->failed) << id;
    }
    // The first was stored, but its answer had nowhere to go.
    held_->release();
    settle();
    EXPECT_EQ(server_.countOf("/dialog/sendSms"), 1u);

    // Back in the conversation: all three follow the server's messages, failed, in the order sent.
    auto screen = open();
    ASSERT_EQ(screen->data->count(), 6u);
    for (std::size_t row = 3; row < 6; ++row) {
        EXPECT_EQ(messageAt(*screen, row)->clientMsgId, ids[row - 3]);
        EXPECT_EQ(messageAt(*screen, row)->sendStatus, DialogContent::Failure);
        EXPECT_EQ(cellFor(*screen, row)->warning->image()->name(), "failure_icon");
    }
    // Polling brings the server's copy of the first: it stands where it was, sent, and is forgotten.
    server_.onJson("/dialog/refreshDialogContent",
                   Json{{"success", true},
                        {"result", {{"list", Json::array({messageJson(600, 1, 2, "一", "", ids[0])})}}}}
                       .dump());
    advance(20s);
    ASSERT_TRUE(waitForRequests("/dialog/refreshDialogContent", 1));
    ASSERT_TRUE(waitUntil([&] { return messageAt(*screen, 3)->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(screen->data->count(), 6u);
    EXPECT_EQ(messageAt(*screen, 3)->dialogContentId, 600);
    EXPECT_TRUE(cellFor(*screen, 3)->warning->isHidden());
    EXPECT_EQ(outboxCount(), 2u);

    // The others go when tapped, each under its own id, once.
    acceptSends(server_, 601);
    for (std::size_t row : {4u, 5u}) {
        cellFor(*screen, row)->warning->touch(TouchUpInside);
        ASSERT_TRUE(UserInput::answerSheet(0));
        ASSERT_TRUE(waitUntil([&] { return messageAt(*screen, row)->sendStatus == DialogContent::Sent; }));
    }
    EXPECT_EQ(outboxCount(), 0u);
    std::vector<std::string> received;
    for (const auto& request : server_.requestsTo("/dialog/sendSms")) {
        received.push_back(request.param("clientMsgId"));
    }
    EXPECT_EQ(received, ids);
}

TEST_F(ConversationTest, AnOpenConversationKeepsItsOutboxWhenTheDataFolderChangesOrItsFileIsDeleted) {
    auto screen = open();
    auto home = DataFolder::shared().root();
    auto file = DialogOutbox::shared()->file();
    auto elsewhere = std::filesystem::temp_directory_path() /
                     ("zorlet-conversation-" + std::to_string(std::random_device()()));
    struct Restore {
        std::filesystem::path home;
        std::filesystem::path elsewhere;
        ~Restore() {
            DataFolder::shared().setRoot(home);
            std::error_code ignored;
            std::filesystem::remove_all(elsewhere, ignored);
        }
    } restore{home, elsewhere};

    // Another data folder's outbox opens while the conversation is open.
    DataFolder::shared().setRoot(elsewhere);
    ASSERT_TRUE(DialogOutbox::shared());
    server_.onJson("/dialog/sendSms", "", 500);
    auto before = typeAndSend(*screen, "还在原来的文件夹");
    ASSERT_TRUE(waitUntil([&] { return before->sendStatus == DialogContent::Failure; }));
    AlertRegistry::shared().clear();
    EXPECT_EQ(DialogOutbox::shared()->count(), 0u);
    DataFolder::shared().setRoot(home);
    EXPECT_TRUE(DialogOutbox::shared()->find(before->clientMsgId));

    // Its file deleted under it: what the conversation keeps next goes to the new file.
    std::filesystem::remove(file);
    std::filesystem::remove(file.string() + "-wal");
    std::filesystem::remove(file.string() + "-shm");
    ASSERT_EQ(DialogOutbox::shared()->count(), 0u);
    auto after = typeAndSend(*screen, "文件删了以后");
    ASSERT_TRUE(waitUntil([&] { return after->sendStatus == DialogContent::Failure; }));
    AlertRegistry::shared().clear();
    ASSERT_TRUE(DialogOutbox::shared()->find(after->clientMsgId));
    acceptSends(server_);
    screen->resend(after);
    ASSERT_TRUE(waitUntil([&] { return after->sendStatus == DialogContent::Sent; }));
    EXPECT_EQ(outboxCount(), 0u);
}

TEST_F(ConversationTest, MoreReportsTheOtherUserOrBlocksThemAfterAskingAndTheScreenStays) {
    server_.onJson("/home/v133/report/save", R"({"success":true})");
    server_.onJson("/home/v133/blacklist/shield", R"({"success":true})");
    auto screen = open();
    auto hudText = [&] {
        auto* hud = ProgressHUD::HUDForView(&navigation_->view());
        return hud ? hud->labelText() : std::string();
    };
    auto lastAlert = [] {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert ? alert->title() : std::string();
    };

    screen->more();
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "更多");
    EXPECT_EQ(sheet->buttonTitle(0), "举报ta");
    EXPECT_EQ(sheet->buttonTitle(1), "屏蔽ta");
    ASSERT_TRUE(UserInput::answerSheet(0));
    ASSERT_TRUE(waitForRequests("/home/v133/report/save", 1));
    auto report = server_.lastRequestTo("/home/v133/report/save");
    EXPECT_EQ(report.method, "POST");
    EXPECT_EQ(report.param("reportUid"), "2");
    EXPECT_EQ(report.param("reportType"), "0");
    EXPECT_EQ(report.param("contentType"), "3");
    EXPECT_EQ(report.param("contentId"), "2");
    ASSERT_TRUE(waitUntil([&] { return hudText() == "感谢举报，我们核实后会尽快处理"; }));
    advance(2s);
    loop().runPending();
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);

    // Cancelling the sheet puts the keyboard back.
    screen->more();
    ASSERT_TRUE(UserInput::answerSheet(AlertRegistry::shared().topSheet()->cancelButtonIndex()));
    EXPECT_TRUE(screen->textView->isFirstResponder());
    screen->hideKeyboard();

    // Blocking asks first; going back sends nothing.
    screen->more();
    ASSERT_TRUE(UserInput::answerSheet(1));
    EXPECT_EQ(lastAlert(), "确定要把用户2加入黑名单么？");
    ASSERT_TRUE(UserInput::answerAlert(0));
    settle();
    EXPECT_EQ(server_.countOf("/home/v133/blacklist/shield"), 0u);
    screen->more();
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitForRequests("/home/v133/blacklist/shield", 1));
    EXPECT_EQ(server_.lastRequestTo("/home/v133/blacklist/shield").param("shieldUid"), "2");
    ASSERT_TRUE(waitUntil([&] { return hudText() == "屏蔽成功"; }));
    EXPECT_EQ(navigation_->topViewController(), screen.get());
    advance(2s);
    loop().runPending();

    // A refusal is shown, and the indicator goes with it.
    server_.onJson("/home/v133/blacklist/shield", R"({"success":false,"errorInfo":"已经屏蔽"})");
    screen->more();
    ASSERT_TRUE(UserInput::answerSheet(1));
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "已经屏蔽"; }));
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
    AlertRegistry::shared().clear();

    // Without a network nothing is sent and no indicator stays.
    Reachability::shared().setNetworkAvailable(false);
    screen->more();
    ASSERT_TRUE(UserInput::answerSheet(0));
    settle();
    EXPECT_EQ(server_.countOf("/home/v133/report/save"), 1u);
    EXPECT_EQ(ProgressHUD::HUDForView(&navigation_->view()), nullptr);
}

TEST_F(ConversationTest, BubblesSitRightForMineAndLeftForTheirsAndRowsFitTheText) {
    auto screen = open();
    auto theirs = cellFor(*screen, 0);
    auto mine = cellFor(*screen, 1);
    EXPECT_FALSE(theirs->isMe);
    EXPECT_TRUE(mine->isMe);
    EXPECT_EQ(theirs->bubbleView->frame().x(), DialogContentListCell::kHisBubbleX);
    double width = DialogContentListCell::textSize("第二条").width;
    EXPECT_DOUBLE_EQ(mine->bubbleView->frame().width(), width + 25);
    EXPECT_DOUBLE_EQ(mine->bubbleView->frame().x(), 260 - (width + 25));
    EXPECT_TRUE(mine->hisLogoView->isHidden());
    EXPECT_FALSE(theirs->hisLogoView->isHidden());
    EXPECT_DOUBLE_EQ(theirs->timeLabel->frame().y(), theirs->bubbleView->frame().maxY() + 10);

    DialogContent plain;
    plain.content = "一行\n两行\n三行";
    double text = DialogContentListCell::textSize(plain.content).height;
    EXPECT_DOUBLE_EQ(DialogContentListCell::heightForCell(plain), text + 62);
    plain.hasImg = true;
    EXPECT_DOUBLE_EQ(DialogContentListCell::heightForCell(plain), text + 122);
}

TEST_F(ConversationTest, TheInputGrowsToThreeLinesThenScrollsAndTheBarFollows) {
    auto screen = open();
    auto& input = *screen->textView;
    double oneLine = input.frame().height();
    EXPECT_DOUBLE_EQ(oneLine, input.getMinHeight());
    double barY = screen->inputAreaView->frame().y();
    double barHeight = screen->inputAreaView->frame().height();

    input.setText("一\n二");
    double twoLines = input.frame().height();
    EXPECT_GT(twoLines, oneLine);
    EXPECT_DOUBLE_EQ(screen->inputAreaView->frame().y(), barY - (twoLines - oneLine));
    EXPECT_DOUBLE_EQ(screen->inputAreaView->frame().height(), barHeight + (twoLines - oneLine));
    EXPECT_FALSE(input.isScrollEnabled());

    input.setText("一\n二\n三\n四\n五");
    EXPECT_DOUBLE_EQ(input.frame().height(), input.getMaxHeight());
    EXPECT_TRUE(input.isScrollEnabled());
    input.setText("");
    EXPECT_DOUBLE_EQ(input.frame().height(), oneLine);
    EXPECT_DOUBLE_EQ(screen->inputAreaView->frame().y(), barY);
}

TEST_F(ConversationTest, TheInputBarMovesWithTheKeyboardsDurationAndCurve) {
    auto screen = open();
    View& bar = *screen->inputAreaView;
    Rect atRest = bar.frame();
    ASSERT_TRUE(screen->textView->becomeFirstResponder());
    ASSERT_TRUE(Keyboard::shared().isShown());
    // The screen's logic sees the bar on the keyboard at once; what is shown follows the keyboard.
    Rect raised = bar.frame();
    EXPECT_LT(raised.y(), atRest.y());
    Animator& animator = Animator::shared();
    ASSERT_TRUE(animator.isAnimating(bar));
    EXPECT_EQ(animator.presentationFrame(bar), atRest);
    advance(62ms);
    double moved = (atRest.y() - animator.presentationFrame(bar).y()) / (atRest.y() - raised.y());
    EXPECT_GT(moved, 0.3);
    EXPECT_LT(moved, 1);
    advance(188ms);
    EXPECT_EQ(animator.presentationFrame(bar), raised);

    screen->hideKeyboard();
    EXPECT_EQ(bar.frame(), atRest);
    EXPECT_EQ(animator.presentationFrame(bar), raised);
    advance(250ms);
    EXPECT_EQ(animator.presentationFrame(bar), atRest);
}

}  // namespace
}  // namespace zorlet::test
