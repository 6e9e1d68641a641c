#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"
#include "sandbox/SocialSeed.h"

#include <set>

namespace zorlet::sandbox::test {

namespace {

std::string id(std::int64_t value) {
    return std::to_string(value);
}

std::string repeated(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

}  // namespace

TEST_F(SandboxTest, ACommentReachesTheAuthorAsAMessage) {
    std::int64_t author = 0;
    std::int64_t fan = 0;
    auto authorClient = newSignedInUser("作者", &author);
    auto fanClient = newSignedInUser("粉丝", &fan);
    auto postId = control().createPost(author, {"爬山", "周末去香山", "香山", "", 1});
    ASSERT_TRUE(postId);
    auto comment = [&](ApiClient& client, const std::string& post, const std::string& content) {
        return client.post("/post/v133/comment", {{"postId", post}, {"content", content}});
    };

    auto sent = comment(*fanClient, id(*postId), "  一起去吧\n");
    ASSERT_TRUE(sent.success()) << sent.text;
    auto messages = control().messagesFrom(fan);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].toUid, author);
    EXPECT_NE(messages[0].content.find("爬山"), std::string::npos) << messages[0].content;
    EXPECT_EQ(messages[0].content.substr(messages[0].content.size() - std::string("一起去吧").size()),
              "一起去吧");
    auto dialogs = authorClient->get("/dialog/dialogList");
    ASSERT_TRUE(dialogs.success()) << dialogs.text;
    EXPECT_NE(dialogs.text.find("一起去吧"), std::string::npos);
    EXPECT_GE(authorClient->get("/dialog/notice/nums").result().get<int>(), 1);

    // 100 Chinese characters fit, 101 do not; blanks alone are nothing.
    EXPECT_TRUE(comment(*fanClient, id(*postId), repeated("好", 100)).success());
    EXPECT_EQ(comment(*fanClient, id(*postId), repeated("好", 101)).errorInfo(), "请不要超过100字");
    EXPECT_EQ(comment(*fanClient, id(*postId), " \n\t ").errorInfo(), "请先输入内容");
    EXPECT_EQ(fanClient->post("/post/v133/comment", {{"postId", id(*postId)}}).errorInfo(), "请先输入内容");
    EXPECT_EQ(comment(*fanClient, "999999", "你好").errorInfo(), "这条Zorlet已经不存在了");
    EXPECT_EQ(comment(*fanClient, "abc", "你好").errorInfo(), "请指定要留言的Zorlet");
    EXPECT_EQ(comment(*authorClient, id(*postId), "自言自语").errorInfo(), "不能给自己的Zorlet留言");
    EXPECT_EQ(control().messagesFrom(fan).size(), 2u);
}

TEST_F(SandboxTest, OnlyTheAuthorDeletesAPost) {
    std::int64_t author = 0;
    auto authorClient = newSignedInUser("作者", &author);
    auto stranger = newSignedInUser("路人");
    auto kept = control().createPost(author, {"看电影", "一起看电影吧", "", "", 1});
    auto doomed = control().createPost(author, {"爬山", "周末去香山", "香山", "", 1});
    ASSERT_TRUE(kept && doomed);
    ASSERT_TRUE(stranger->post("/post/respPost", {{"postId", id(*doomed)}}).success());

    auto refused = stranger->post("/post/v133/delete", {{"postId", id(*doomed)}});
    EXPECT_FALSE(refused.success());
    EXPECT_EQ(refused.errorInfo(), "只能删除自己的Zorlet");
    EXPECT_EQ(authorClient->get("/home/posts").result()["pager"]["totalResults"], 2);

    ASSERT_TRUE(authorClient->post("/post/v133/delete", {{"postId", id(*doomed)}}).success());
    auto remaining = authorClient->get("/home/posts").result();
    ASSERT_EQ(remaining["list"].size(), 1u);
    EXPECT_EQ(remaining["list"][0]["postId"], *kept);
    EXPECT_EQ(remaining["pager"]["totalResults"], 1);
    EXPECT_EQ(stranger->get("/home/v132/userInfo", {{"uid", id(author)}}).result()["userView"]["postCount"],
              1);

    EXPECT_EQ(authorClient->post("/post/v133/delete", {{"postId", id(*doomed)}}).errorInfo(),
              "这条Zorlet已经不存在了");
    EXPECT_EQ(stranger->get("/post/respUsers", {{"postId", id(*doomed)}}).errorInfo(),
              "这条Zorlet已经不存在了");
    EXPECT_FALSE(
        stranger->post("/post/v133/comment", {{"postId", id(*doomed)}, {"content", "还在吗"}}).success());
    EXPECT_FALSE(stranger->post("/post/respPost", {{"postId", id(*doomed)}}).success());
    EXPECT_EQ(authorClient->post("/post/v133/delete").errorInfo(), "请指定要删除的Zorlet");
    EXPECT_EQ(ApiClient(port()).post("/post/v133/delete", {{"postId", id(*kept)}}).status, 401);
}

TEST_F(DemoSandboxTest, RespondersOfACrowdedPostComeInPages) {
    ApiClient demo(port());
    demo.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    auto busyAuthor = control().uidOf("user01@zorlet.local");
    ASSERT_TRUE(busyAuthor);
    auto posts = demo.get("/home/posts", {{"uid", id(*busyAuthor)}}).result()["list"];
    ASSERT_FALSE(posts.empty());
    auto crowdedId = id(posts[0]["postId"].get<std::int64_t>());
    EXPECT_EQ(posts[0]["respCnt"], SocialSeed::crowdedPostResponders);

    std::vector<std::int64_t> responders;
    for (int page = 1; page <= 3; ++page) {
        auto answer = demo.get("/post/respUsers", {{"postId", crowdedId}, {"page", std::to_string(page)}});
        ASSERT_TRUE(answer.success()) << answer.text;
        const auto& pager = answer.result()["pager"];
        EXPECT_EQ(pager["totalResults"], SocialSeed::crowdedPostResponders);
        for (const auto& user : answer.result()["list"]) {
            EXPECT_FALSE(user["nickname"].get<std::string>().empty());
            responders.push_back(user["uid"].get<std::int64_t>());
        }
        if (!pager["hasNext"].get<bool>()) {
            break;
        }
        EXPECT_EQ(answer.result()["list"].size(), pager["maxResult"].get<size_t>());
    }
    EXPECT_EQ(responders.size(), static_cast<size_t>(SocialSeed::crowdedPostResponders));
    EXPECT_EQ(std::set<std::int64_t>(responders.begin(), responders.end()).size(), responders.size());

    // Responding adds the responder at the head of the list.
    auto me = demo.post("/passport/v132/login").result()["userView"]["uid"];
    ASSERT_TRUE(demo.post("/post/respPost", {{"postId", crowdedId}}).success());
    auto first = demo.get("/post/respUsers", {{"postId", crowdedId}, {"page", "0"}}).result();
    EXPECT_EQ(first["list"][0]["uid"], me);
    EXPECT_EQ(first["pager"]["currentPage"], 1);
    EXPECT_EQ(first["pager"]["totalResults"], SocialSeed::crowdedPostResponders + 1);

    EXPECT_EQ(demo.get("/post/respUsers").errorInfo(), "请指定Zorlet");
    EXPECT_EQ(demo.get("/post/respUsers", {{"postId", crowdedId}, {"page", "abc"}}).errorInfo(),
              "页码不正确");
}

}  // namespace zorlet::sandbox::test
