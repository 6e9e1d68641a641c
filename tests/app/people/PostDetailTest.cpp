#include "PeopleTestSupport.h"

#include "app/WebViewController.h"
#include "ideas/IdeaDetailViewController.h"
#include "people/PostDetailViewController.h"
#include "people/ResponseUsersViewController.h"
#include "people/SendPostViewController.h"
#include "people/TaHomeViewController.h"
#include "people/UserListCell.h"
#include "people/UserPostViewController.h"
#include "platform/Image.h"
#include "session/LoginService.h"
#include "ui/ActionSheet.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

std::string repeated(const std::string& piece, int times) {
    std::string text;
    for (int i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

class PostDetailTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        server_.onJson("/home/updateloc", R"({"success":true})");
        server_.onJson("/home/v132/userInfo", R"({"success":false,"errorInfo":"稍后"})");
    }
    // The author's record as the feed holds it, with one post.
    static UserPtr author(int uid, Json post) {
        return User::convertFromDictionary(userJson(uid, 1, std::move(post)));
    }
    std::shared_ptr<PostDetailViewController> openDetail(const UserPtr& user) {
        auto detail = std::make_shared<PostDetailViewController>();
        detail->user = user;
        navigation_ = show(detail);
        return detail;
    }
    std::string topTitle() {
        auto* top = navigation_ ? navigation_->topViewController() : nullptr;
        return top ? top->className() : "(none)";
    }
    std::string lastAlert() {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert ? alert->title() : "";
    }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(PostDetailTest, ARespondingChangeOnTheDetailShowsOnTheFeedRowAfterGoingBack) {
    signInAs(1, 1);
    Json post = postJson(20, 2, "一起去香山吧", false, 3);
    server_.onJson("/post/v134/userPosts", pageJson(Json::array({userJson(2, 0, post)})));
    server_.onJson("/post/respPost", R"({"success":true})");
    auto feed = std::make_shared<UserViewController>();
    navigation_ = show(feed);
    ASSERT_TRUE(waitUntil([&] { return feed->data && feed->data->count() == 1 && !feed->reloading; }));

    ASSERT_TRUE(UserInput::tapRow(*feed->tableView, {0, 0}));
    auto* detail = dynamic_cast<PostDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(detail, nullptr);
    // The detail holds the feed's own record, not a copy.
    EXPECT_EQ(detail->user, feed->data->objectAtIndex(0));
    EXPECT_EQ(detail->contentLabel->text(), "爬山：一起去香山吧");
    EXPECT_FALSE(detail->interestView->isHidden());
    EXPECT_EQ(detail->interestNumLabel->text(), "3");

    ASSERT_TRUE(UserInput::tap(*detail->responseButton));
    ASSERT_TRUE(waitUntil([&] { return !detail->responseButton->isEnabled(); }));
    advance(3s);
    loop().runPending();
    ASSERT_NE(detail->navigationItem().leftBarButtonItem(), nullptr);
    ASSERT_TRUE(UserInput::tapBarButton(*detail->navigationItem().leftBarButtonItem()));
    ASSERT_EQ(navigation_->topViewController(), feed.get());
    auto* cell = dynamic_cast<UserListCell*>(feed->tableView->cellForRow({0, 0}));
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->respButton().title(), "4");
    EXPECT_FALSE(cell->respButton().isEnabled());
}

TEST_F(PostDetailTest, TheAuthorGetsTheEditorAndOthersTheMessageBar) {
    signInAs(2, 1);
    auto mine = openDetail(author(2, postJson(20, 2, "我的")));
    EXPECT_TRUE(mine->isMe);
    EXPECT_TRUE(mine->buttonView->isHidden());
    EXPECT_FALSE(mine->responseButton->isEnabled());
    ASSERT_NE(mine->navigationItem().rightBarButtonItem(), nullptr);
    EXPECT_EQ(mine->navigationItem().rightBarButtonItem()->title(), "编辑");

    auto theirs = openDetail(author(3, postJson(21, 3, "别人的")));
    EXPECT_FALSE(theirs->isMe);
    EXPECT_FALSE(theirs->buttonView->isHidden());
    EXPECT_TRUE(theirs->responseButton->isEnabled());
    EXPECT_EQ(theirs->navigationItem().rightBarButtonItem(), nullptr);
    EXPECT_EQ(theirs->title(), "Zorlet详情");
}

TEST_F(PostDetailTest, APostWithoutExtrasShowsOnlyHeaderAndText) {
    signInAs(1, 1);
    auto detail = openDetail(author(3, postJson(21, 3, "简单")));
    EXPECT_TRUE(detail->postImageView->isHidden());
    EXPECT_TRUE(detail->interestView->isHidden());
    EXPECT_TRUE(detail->placeView->isHidden());
    EXPECT_TRUE(detail->timeView->isHidden());
    EXPECT_TRUE(detail->firstLine->isHidden());
    EXPECT_TRUE(detail->moreButton->isHidden());

    // Place and time rows stack under each other with no room for hidden ones.
    Json full = postJson(22, 3, "完整", false, 2);
    full["place"] = "香山";
    full["cityName"] = "北京";
    full["date"] = "周六";
    auto rich = openDetail(author(3, full));
    EXPECT_FALSE(rich->firstLine->isHidden());
    EXPECT_EQ(rich->placeLabel->text(), "北京 香山");
    EXPECT_EQ(rich->timeLabel->text(), "周六");
    EXPECT_EQ(rich->interestView->frame().y(), rich->firstLine->frame().maxY());
    EXPECT_EQ(rich->placeView->frame().y(), rich->interestView->frame().maxY());
    EXPECT_EQ(rich->timeView->frame().y(), rich->placeView->frame().maxY());
    EXPECT_EQ(rich->postScrollView->contentSize().height, rich->timeView->frame().maxY() + 10);
}

TEST_F(PostDetailTest, MessagesAreCheckedCountedAndSent) {
    signInAs(1, 1);
    server_.onJson("/post/v133/comment", R"({"success":true})");
    auto detail = openDetail(author(3, postJson(21, 3, "别人的")));

    detail->textView->setText("   \n ");
    detail->sendComment();
    EXPECT_EQ(lastAlert(), "请先输入内容");
    AlertRegistry::shared().clear();

    detail->textView->setText(repeated("好", 101));
    detail->sendComment();
    EXPECT_EQ(lastAlert(), "请不要超过100字");
    AlertRegistry::shared().clear();
    EXPECT_EQ(server_.countOf("/post/v133/comment"), 0u);

    std::string hundred = repeated("好", 100);
    detail->textView->setText(" " + hundred + "\n");
    detail->sendComment();
    ASSERT_TRUE(waitForRequests("/post/v133/comment", 1));
    auto sent = server_.lastRequestTo("/post/v133/comment");
    EXPECT_EQ(sent.param("postId"), "21");
    EXPECT_EQ(sent.param("content"), hundred);
    ASSERT_TRUE(waitUntil([&] { return detail->textView->text().empty(); }));
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "发送成功，可在消息页查看");
}

TEST_F(PostDetailTest, ARefusedMessageKeepsItsTextAndAMissingNetworkSendsNothing) {
    signInAs(1, 1);
    server_.onJson("/post/v133/comment", R"({"success":false,"errorInfo":"对方不接收留言"})");
    auto detail = openDetail(author(3, postJson(21, 3, "别人的")));
    detail->textView->setText("你好");
    detail->sendComment();
    ASSERT_TRUE(waitUntil([&] { return !lastAlert().empty(); }));
    EXPECT_EQ(lastAlert(), "对方不接收留言");
    EXPECT_EQ(detail->textView->text(), "你好");
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(false);
    detail->sendComment();
    EXPECT_EQ(lastAlert(), "网络状态");
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
    settle();
    EXPECT_EQ(server_.countOf("/post/v133/comment"), 1u);
}

TEST_F(PostDetailTest, DeletingFromThePostListDropsThatRowAndLeaves) {
    signInAs(2, 1);
    Json list = Json::array({postJson(30, 2, "第一"), postJson(31, 2, "第二"), postJson(32, 2, "第三")});
    server_.onJson("/home/posts", pageJson(list));
    server_.onJson("/post/v133/delete", R"({"success":true})");
    auto posts = std::make_shared<UserPostViewController>();
    navigation_ = show(posts);
    ASSERT_TRUE(waitUntil([&] { return posts->data && posts->data->count() == 3 && !posts->reloading; }));
    EXPECT_EQ(posts->title(), "我的Zorlet");
    EXPECT_EQ(server_.lastRequestTo("/home/posts").param("uid"), "");

    ASSERT_TRUE(UserInput::tapRow(*posts->tableView, {0, 1}));
    auto* detail = dynamic_cast<PostDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_EQ(detail->user->post->postId, 31);
    ASSERT_TRUE(UserInput::tapBarButton(*detail->navigationItem().rightBarButtonItem()));
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title(), "编辑Zorlet");
    ASSERT_TRUE(UserInput::answerSheet(sheet->destructiveButtonIndex()));
    EXPECT_EQ(lastAlert(), "确定删除此条Zorlet么？");
    ASSERT_TRUE(UserInput::answerAlert(1));
    ASSERT_TRUE(waitForRequests("/post/v133/delete", 1));
    EXPECT_EQ(server_.lastRequestTo("/post/v133/delete").param("postId"), "31");
    ASSERT_TRUE(waitUntil([&] {
        return ProgressHUD::HUDForView(window_.get()) != nullptr &&
               ProgressHUD::HUDForView(window_.get())->labelText() == "删除成功";
    }));
    advance(2s);
    loop().runPending();
    ASSERT_EQ(navigation_->topViewController(), posts.get());
    ASSERT_EQ(posts->data->count(), 2u);
    EXPECT_EQ(posts->data->objectAtIndex(0)->objIdentity(), 30);
    EXPECT_EQ(posts->data->objectAtIndex(1)->objIdentity(), 32);
}

TEST_F(PostDetailTest, EditingOpensTheComposerOnTheSamePost) {
    signInAs(2, 1);
    auto user = author(2, postJson(20, 2, "我的"));
    auto detail = openDetail(user);
    detail->openEditor();
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    int modify = -1;
    for (int i = 0; i < sheet->numberOfButtons(); ++i) {
        if (sheet->buttonTitle(i) == "修改") {
            modify = i;
        }
    }
    ASSERT_TRUE(UserInput::answerSheet(modify));
    auto* composer = dynamic_cast<SendPostViewController*>(navigation_->topViewController());
    ASSERT_NE(composer, nullptr);
    EXPECT_EQ(composer->post, user->post);
}

TEST_F(PostDetailTest, TheMoreButtonOverThePictureOpensTheIdeaOrElseTheLink) {
    signInAs(1, 1);
    server_.on("/poster.png", [](const RecordedRequest&, Reply& reply) {
        reply.contentType = "image/png";
        reply.body = Image(200, 120).pngData();
    });
    server_.onJson("/idea/showIdea",
                   Json{{"success", true}, {"result", {{"ideaId", 7}, {"content", "去看展"}}}}.dump());
    auto pictured = [&](int postId, std::int64_t ideaId, const std::string& link) {
        Json post = postJson(postId, 3, "看展");
        post["bigPic"] = server_.url("/poster.png");
        post["ideaId"] = ideaId;
        post["link"] = link;
        return post;
    };
    auto pictureShown = [&](PostDetailViewController& detail) {
        return waitUntil([&] { return !detail.postImageView->isHidden(); });
    };

    // Without a link there is nothing to open over the picture.
    auto plain = openDetail(author(3, pictured(20, 0, "")));
    ASSERT_TRUE(pictureShown(*plain));
    EXPECT_TRUE(plain->moreButton->isHidden());

    // A post made from an idea opens the idea, loaded by its id.
    auto fromIdea = openDetail(author(3, pictured(21, 7, server_.url("/idea/7"))));
    ASSERT_TRUE(pictureShown(*fromIdea));
    ASSERT_TRUE(UserInput::tap(*fromIdea->moreButton));
    auto* idea = dynamic_cast<IdeaDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(idea, nullptr);
    EXPECT_EQ(idea->ideaId, 7);
    EXPECT_TRUE(idea->hidesBottomBarWhenPushed());
    ASSERT_TRUE(waitUntil([&] { return idea->idea != nullptr; }));
    EXPECT_EQ(server_.lastRequestTo("/idea/showIdea").param("ideaId"), "7");
    EXPECT_EQ(idea->idea->content, "去看展");

    // Any other post opens its link in the web screen.
    auto linked = openDetail(author(3, pictured(22, 0, "http://127.0.0.1:1/show")));
    ASSERT_TRUE(pictureShown(*linked));
    ASSERT_TRUE(UserInput::tap(*linked->moreButton));
    auto* web = dynamic_cast<WebViewController*>(navigation_->topViewController());
    ASSERT_NE(web, nullptr);
    EXPECT_EQ(web->url, "http://127.0.0.1:1/show");
    EXPECT_EQ(web->title(), "Zorlet详情");
}

TEST_F(PostDetailTest, TheInterestRowOpensTheRespondersAndTheirHomes) {
    signInAs(1, 1);
    server_.onJson("/post/respUsers", pageJson(Json::array({userJson(5, 0)})));
    auto detail = openDetail(author(3, postJson(21, 3, "看展", false, 1)));
    ASSERT_TRUE(UserInput::tap(*detail->interestView));
    auto* responders = dynamic_cast<ResponseUsersViewController*>(navigation_->topViewController());
    ASSERT_NE(responders, nullptr);
    EXPECT_EQ(responders->postId, 21);
    EXPECT_EQ(responders->title(), "有兴趣的人");
    ASSERT_TRUE(waitUntil([&] { return responders->data->count() == 1 && !responders->reloading; }));
    EXPECT_EQ(server_.lastRequestTo("/post/respUsers").param("page"), "1");
    responders->loadListDataWithPage(0);
    ASSERT_TRUE(waitForRequests("/post/respUsers", 2));
    EXPECT_EQ(server_.lastRequestTo("/post/respUsers").param("page"), "1");

    ASSERT_TRUE(UserInput::tapRow(*responders->tableView, {0, 0}));
    auto* home = dynamic_cast<TaHomeViewController*>(navigation_->topViewController());
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->user, responders->data->objectAtIndex(0));
}

TEST_F(PostDetailTest, AnHttp401OnRespondingSignsOut) {
    LoginService::getInstance();
    signInAs(1, 1);
    server_.onJson("/post/respPost", "{}", 401);
    auto detail = openDetail(author(3, postJson(21, 3, "别人的", false, 2)));
    ASSERT_TRUE(UserInput::tap(*detail->responseButton));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    ASSERT_NE(window_->rootViewController(), nullptr);
    EXPECT_EQ(window_->rootViewController()->className(), "WelcomeViewController");
    EXPECT_TRUE(AlertRegistry::shared().shownAlertTitles().empty());
    EXPECT_EQ(detail->user->post->hasResp, 0);
    EXPECT_EQ(detail->user->post->respCnt, 2);
}

TEST_F(PostDetailTest, ARefusedOrUnsendableDeletionKeepsThePost) {
    signInAs(2, 1);
    server_.onJson("/home/posts", pageJson(Json::array({postJson(30, 2, "第一"), postJson(31, 2, "第二")})));
    server_.onJson("/post/v133/delete", R"({"success":false,"errorInfo":"删除失败，请稍后再试"})");
    auto posts = std::make_shared<UserPostViewController>();
    navigation_ = show(posts);
    ASSERT_TRUE(waitUntil([&] { return posts->data && posts->data->count() == 2 && !posts->reloading; }));
    ASSERT_TRUE(UserInput::tapRow(*posts->tableView, {0, 1}));
    auto* detail = dynamic_cast<PostDetailViewController*>(navigation_->topViewController());
    ASSERT_NE(detail, nullptr);
    PostPtr shown = detail->user->post;
    auto confirmDeletion = [&] {
        detail->openEditor();
        auto* sheet = AlertRegistry::shared().topSheet();
        return sheet != nullptr && UserInput::answerSheet(sheet->destructiveButtonIndex()) &&
               UserInput::answerAlert(1);
    };

    ASSERT_TRUE(confirmDeletion());
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "删除失败，请稍后再试"; }));
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(false);
    ASSERT_TRUE(confirmDeletion());
    settle();
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
    EXPECT_EQ(server_.countOf("/post/v133/delete"), 1u);

    // The screen stays on the post, and the list keeps its row.
    advance(3s);
    loop().runPending();
    EXPECT_EQ(navigation_->topViewController(), detail);
    EXPECT_EQ(detail->user->post, shown);
    navigation_->popViewController(false);
    loop().runPending();
    ASSERT_EQ(posts->data->count(), 2u);
    EXPECT_EQ(posts->data->objectAtIndex(1)->objIdentity(), 31);
}

}  // namespace
}  // namespace zorlet::test
