#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

#include <set>

namespace zorlet::sandbox::test {

namespace {

httplib::Params sms(std::int64_t to, const std::string& content, const std::string& clientMsgId = "") {
    httplib::Params params = {{"uid", std::to_string(to)}, {"content", content}};
    if (!clientMsgId.empty()) {
        params.emplace("clientMsgId", clientMsgId);
    }
    return params;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

}  // namespace

TEST_F(SandboxTest, AConversationReadsNewestFirstAndBothSeeTheSameDialog) {
    std::int64_t alice = 0;
    std::int64_t bob = 0;
    auto aliceClient = newSignedInUser("爱丽丝", &alice);
    auto bobClient = newSignedInUser("鲍勃", &bob);

    auto first = aliceClient->post("/dialog/sendSms", sms(bob, "  你好，周末去爬山吗？\n"));
    ASSERT_TRUE(first.success()) << first.text;
    EXPECT_EQ(first.result()["content"], "你好，周末去爬山吗？");
    EXPECT_EQ(first.result()["senderUid"], alice);
    EXPECT_EQ(first.result()["receiverUid"], bob);
    EXPECT_TRUE(first.result()["imgUrl"].is_null());
    ASSERT_TRUE(bobClient->post("/dialog/sendSms", sms(alice, "好啊")).success());

    auto page = aliceClient->get("/dialog/dialogContentList", {{"uid", std::to_string(bob)}, {"page", "0"}});
    ASSERT_TRUE(page.success()) << page.text;
    const auto& list = page.result()["list"];
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]["content"], "好啊");
    EXPECT_EQ(list[1]["content"], "你好，周末去爬山吗？");
    EXPECT_EQ(page.result()["pager"]["currentPage"], 1);

    auto aliceDialogs = aliceClient->get("/dialog/dialogList").result()["list"];
    auto bobDialogs = bobClient->get("/dialog/dialogList").result()["list"];
    ASSERT_EQ(aliceDialogs.size(), 1u);
    ASSERT_EQ(bobDialogs.size(), 1u);
    EXPECT_EQ(aliceDialogs[0]["dialogId"], bobDialogs[0]["dialogId"]);
    EXPECT_EQ(aliceDialogs[0]["targetUser"]["uid"], bob);
    EXPECT_EQ(bobDialogs[0]["targetUser"]["uid"], alice);
    EXPECT_EQ(aliceDialogs[0]["latestContent"], "好啊");
    EXPECT_EQ(aliceDialogs[0]["receiverUid"], alice);
    EXPECT_EQ(aliceDialogs[0]["dialogContentCount"], 2);
}

TEST_F(SandboxTest, UnreadMessagesCountUntilTheConversationIsReadAndRefreshBringsOnlyNewOnes) {
    std::int64_t reader = 0;
    std::int64_t writer = 0;
    auto readerClient = newSignedInUser("读者", &reader);
    auto writerClient = newSignedInUser("写者", &writer);
    ASSERT_TRUE(writerClient->post("/dialog/sendSms", sms(reader, "第一条")).success());
    ASSERT_TRUE(writerClient->post("/dialog/sendSms", sms(reader, "第二条")).success());
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 2);
    EXPECT_EQ(writerClient->get("/dialog/notice/nums").result(), 0);

    auto fresh = readerClient->get("/dialog/refreshDialogContent", {{"uid", std::to_string(writer)}});
    ASSERT_TRUE(fresh.success()) << fresh.text;
    ASSERT_EQ(fresh.result()["list"].size(), 2u);
    EXPECT_EQ(fresh.result()["list"][0]["content"], "第一条");
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 0);
    EXPECT_TRUE(readerClient->get("/dialog/refreshDialogContent", {{"uid", std::to_string(writer)}})
                    .result()["list"]
                    .empty());

    ASSERT_TRUE(writerClient->post("/dialog/sendSms", sms(reader, "第三条")).success());
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 1);
    readerClient->get("/dialog/dialogContentList", {{"uid", std::to_string(writer)}});
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 0);

    // Other notices count too, until the message tab is opened.
    ASSERT_TRUE(control().setUnreadNotices(reader, 2));
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 2);
    readerClient->get("/dialog/dialogList");
    EXPECT_EQ(readerClient->get("/dialog/notice/nums").result(), 0);
}

TEST_F(SandboxTest, AResentMessageIsStoredOnceUnderItsClientId) {
    std::int64_t to = 0;
    std::int64_t from = 0;
    auto receiver = newSignedInUser("收件人", &to);
    auto sender = newSignedInUser("寄件人", &from);
    auto first = sender->post("/dialog/sendSms", sms(to, "只发一次", "a1b2c3"));
    auto again = sender->post("/dialog/sendSms", sms(to, "只发一次", "a1b2c3"));
    ASSERT_TRUE(first.success() && again.success()) << again.text;
    EXPECT_EQ(first.result()["dialogContentId"], again.result()["dialogContentId"]);
    EXPECT_EQ(again.result()["clientMsgId"], "a1b2c3");
    ASSERT_TRUE(sender->post("/dialog/sendSms", sms(to, "另一条", "d4e5f6")).success());
    // The same text without an id is a new message each time.
    ASSERT_TRUE(sender->post("/dialog/sendSms", sms(to, "没有编号")).success());
    ASSERT_TRUE(sender->post("/dialog/sendSms", sms(to, "没有编号")).success());
    auto stored = control().messagesFrom(from);
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0].clientMsgId, "a1b2c3");
    // Another sender may use the same id.
    ASSERT_TRUE(receiver->post("/dialog/sendSms", sms(from, "回复", "a1b2c3")).success());
    EXPECT_EQ(control().messagesFrom(to).size(), 1u);
    EXPECT_EQ(sender->post("/dialog/sendSms", sms(to, "坏编号", "bad id;drop")).errorInfo(),
              "消息编号不正确");
    EXPECT_FALSE(sender->post("/dialog/sendSms", sms(to, "太长", repeated("a", 65))).success());
}

TEST_F(SandboxTest, SendingChecksLengthReceiverAndBlacklist) {
    std::int64_t me = 0;
    std::int64_t other = 0;
    auto client = newSignedInUser("发信者", &me);
    auto otherClient = newSignedInUser("对方", &other);
    const std::string rule = "私聊内容字数控制在1-200个汉字内";
    EXPECT_EQ(client->post("/dialog/sendSms", sms(other, " \n ")).errorInfo(), rule);
    EXPECT_EQ(client->post("/dialog/sendSms", sms(other, repeated("字", 201))).errorInfo(), rule);
    EXPECT_TRUE(client->post("/dialog/sendSms", sms(other, repeated("字", 200))).success());
    EXPECT_FALSE(client->post("/dialog/sendSms", sms(me, "自己")).success());
    EXPECT_FALSE(client->post("/dialog/sendSms", sms(999999, "没人")).success());
    EXPECT_FALSE(client->post("/dialog/sendSms", {{"content", "没有收信人"}}).success());

    ASSERT_TRUE(control().shield(other, me));
    auto refused = client->post("/dialog/sendSms", sms(other, "还在吗"));
    EXPECT_FALSE(refused.success());
    EXPECT_EQ(refused.errorInfo(), "对方已将你加入黑名单，无法发送私信");
    auto mine = otherClient->post("/dialog/sendSms", sms(me, "我屏蔽了你"));
    EXPECT_EQ(mine.errorInfo(), "你已将对方加入黑名单，请先解除屏蔽再发私信");
    EXPECT_EQ(control().messagesFrom(me).size(), 1u);
}

TEST_F(SandboxTest, APictureTravelsWithTheMessageAndBadOnesAreRefused) {
    std::int64_t to = 0;
    newSignedInUser("看图的人", &to);
    auto sender = newSignedInUser("发图的人");
    auto sent =
        sender->postMultipart("/dialog/sendSms", {{"content", "看这张", "", ""},
                                                  {"uid", std::to_string(to), "", ""},
                                                  {"dialogImg", smallJpeg(), "dialogImg.jpg", "image/jpeg"}});
    ASSERT_TRUE(sent.success()) << sent.text;
    ASSERT_TRUE(sent.result()["imgUrl"].is_string());
    auto url = sent.result()["imgUrl"].get<std::string>();
    EXPECT_EQ(sender->get(url.substr(url.find("/pictures/"))).status, 200);
    auto bad = sender->postMultipart("/dialog/sendSms",
                                     {{"content", "坏图", "", ""},
                                      {"uid", std::to_string(to), "", ""},
                                      {"dialogImg", "not a picture", "dialogImg.jpg", "image/jpeg"}});
    EXPECT_EQ(bad.body["errorCode"], 100011);
}

TEST_F(SandboxTest, DeletingADialogHidesItForOneSideOnly) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    auto aClient = newSignedInUser("甲", &a);
    auto bClient = newSignedInUser("乙", &b);
    ASSERT_TRUE(aClient->post("/dialog/sendSms", sms(b, "旧消息")).success());
    auto dialogId = bClient->get("/dialog/dialogList").result()["list"][0]["dialogId"].get<std::int64_t>();
    EXPECT_EQ(bClient->get("/dialog/notice/nums").result(), 1);

    EXPECT_FALSE(aClient->post("/dialog/deleteDialog", {{"dialogId", "999999"}}).success());
    auto outsider = newSignedInUser("丙");
    EXPECT_FALSE(outsider->post("/dialog/deleteDialog", {{"dialogId", std::to_string(dialogId)}}).success());

    ASSERT_TRUE(bClient->post("/dialog/deleteDialog", {{"dialogId", std::to_string(dialogId)}}).success());
    EXPECT_TRUE(bClient->get("/dialog/dialogList").result()["list"].empty());
    EXPECT_EQ(bClient->get("/dialog/notice/nums").result(), 0);
    EXPECT_EQ(aClient->get("/dialog/dialogList").result()["list"].size(), 1u);

    // A new message brings the dialog back with only what came after.
    ASSERT_TRUE(aClient->post("/dialog/sendSms", sms(b, "新消息")).success());
    auto list = bClient->get("/dialog/dialogList").result()["list"];
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]["dialogId"], dialogId);
    auto messages = bClient->get("/dialog/dialogContentList", {{"uid", std::to_string(a)}}).result()["list"];
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0]["content"], "新消息");
}

TEST_F(DemoSandboxTest, TheDemoAccountHasMoreThanAPageOfDialogsSomeUnreadSomeWithPictures) {
    ApiClient client(port());
    client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    auto first = client.get("/dialog/dialogList", {{"page", "1"}});
    ASSERT_TRUE(first.success()) << first.text;
    EXPECT_TRUE(first.result()["pager"]["hasNext"]);
    auto second = client.get("/dialog/dialogList", {{"page", "2"}});
    std::set<std::int64_t> others;
    for (const auto* page : {&first, &second}) {
        for (const auto& dialog : page->result()["list"]) {
            others.insert(dialog["targetUser"]["uid"].get<std::int64_t>());
        }
    }
    EXPECT_GE(others.size(), 15u);
    EXPECT_FALSE(second.result()["pager"]["hasNext"]);
    // Latest conversation first.
    const auto& list = first.result()["list"];
    EXPECT_GE(list[0]["createTime"].get<std::int64_t>(), list[1]["createTime"].get<std::int64_t>());
    EXPECT_GT(client.get("/dialog/notice/nums").result().get<int>(), 0);

    int pictures = 0;
    for (auto uid : others) {
        auto messages =
            client.get("/dialog/dialogContentList", {{"uid", std::to_string(uid)}}).result()["list"];
        for (const auto& message : messages) {
            pictures += message["imgUrl"].is_string() ? 1 : 0;
        }
    }
    EXPECT_GE(pictures, 2);
    EXPECT_EQ(client.get("/dialog/notice/nums").result(), 0);
}

}  // namespace zorlet::sandbox::test
