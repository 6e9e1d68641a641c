#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

namespace zorlet::sandbox::test {

namespace {

httplib::MultipartFormDataItems postForm(const std::string& content, const std::string& place,
                                         const std::string& date, const std::string& picture) {
    httplib::MultipartFormDataItems items = {{"content", content, "", ""},
                                             {"place", place, "", ""},
                                             {"dateString", date, "", ""},
                                             {"link", "", "", ""},
                                             {"categoryId", "1", "", ""}};
    if (!picture.empty()) {
        items.push_back({"postImg", picture, "postImg.jpg", "image/jpeg"});
    }
    return items;
}

}  // namespace

TEST_F(DemoSandboxTest, APublishedPostLeadsTheNewestListWithItsPicture) {
    ApiClient client(port());
    auto home = client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    auto me = home["userView"]["uid"].get<std::int64_t>();

    auto sent = client.postMultipart("/post/sendPost",
                                     postForm("周六去香山看红叶", "香山公园", "2030-10-20", smallJpeg()));
    ASSERT_TRUE(sent.success()) << sent.text;
    EXPECT_EQ(sent.result()["content"], "周六去香山看红叶");
    EXPECT_EQ(sent.result()["purpose"], "美食");
    EXPECT_EQ(sent.result()["place"], "香山公园");
    EXPECT_EQ(sent.result()["date"], "2030-10-20");
    ASSERT_TRUE(sent.result()["bigPic"].is_string());
    auto picture = client.get(sent.result()["bigPic"].get<std::string>().substr(
        std::string("http://127.0.0.1:").size() + std::to_string(port()).size()));
    EXPECT_EQ(picture.status, 200);

    auto newest = client.get("/post/v134/userPosts", {{"orderType", "new"}, {"page", "1"}});
    ASSERT_TRUE(newest.success());
    const auto& first = newest.result()["list"][0];
    EXPECT_EQ(first["uid"], me);
    EXPECT_EQ(first["postView"]["postId"], sent.result()["postId"]);
}

TEST_F(SandboxTest, PublishingChecksTheComposerRules) {
    auto client = newSignedInUser("发布者");
    EXPECT_EQ(client->post("/post/sendPost", {{"content", "abc"}}).errorInfo(), "发布内容请控制在2~80字以内");
    std::string eightyOne;
    for (int i = 0; i < 81; ++i) {
        eightyOne += "玩";
    }
    EXPECT_FALSE(client->post("/post/sendPost", {{"content", eightyOne}}).success());
    std::string fiftyOne;
    for (int i = 0; i < 51; ++i) {
        fiftyOne += "地";
    }
    EXPECT_FALSE(client->post("/post/sendPost", {{"content", "去玩"}, {"place", fiftyOne}}).success());
    EXPECT_FALSE(client->post("/post/sendPost", {{"content", "去玩"}, {"dateString", "明天"}}).success());
    auto badPicture = client->postMultipart("/post/sendPost", postForm("去玩吧", "", "", "not a picture"));
    EXPECT_EQ(badPicture.body["errorCode"], 100011);
    EXPECT_TRUE(client->post("/post/sendPost", {{"content", "去玩"}, {"dateString", ""}}).success());
    // Want-to-go names an idea that exists; this sandbox has none.
    auto unknownIdea = client->post("/post/sendPost", {{"ideaId", "7"}});
    EXPECT_FALSE(unknownIdea.success());
    EXPECT_FALSE(unknownIdea.errorInfo().empty());
    EXPECT_FALSE(client->post("/post/sendPost", {{"ideaId", "x"}}).success());
}

TEST_F(SandboxTest, EditingKeepsReplacesOrRemovesThePicture) {
    std::int64_t uid = 0;
    auto client = newSignedInUser("编辑者", &uid);
    auto sent = client->postMultipart("/post/sendPost", postForm("原来的想法", "", "", smallJpeg()));
    ASSERT_TRUE(sent.success()) << sent.text;
    auto postId = std::to_string(sent.result()["postId"].get<std::int64_t>());
    auto fileName = sent.result()["picFileName"].get<std::string>();
    ASSERT_FALSE(fileName.empty());

    auto kept = client->post("/post/v133/edit", {{"postId", postId},
                                                 {"content", "改过的想法"},
                                                 {"pic", fileName},
                                                 {"place", "三里屯"},
                                                 {"dateString", ""},
                                                 {"categoryId", "2"}});
    ASSERT_TRUE(kept.success()) << kept.text;
    EXPECT_EQ(kept.result()["content"], "改过的想法");
    EXPECT_EQ(kept.result()["picFileName"], fileName);
    EXPECT_EQ(kept.result()["place"], "三里屯");
    EXPECT_EQ(kept.result()["categoryName"], "电影");

    EXPECT_FALSE(
        client->post("/post/v133/edit", {{"postId", postId}, {"content", "改过的想法"}, {"pic", "other.jpg"}})
            .success());
    auto removed =
        client->post("/post/v133/edit", {{"postId", postId}, {"content", "没有图了"}, {"pic", ""}});
    ASSERT_TRUE(removed.success());
    EXPECT_EQ(removed.result()["picFileName"], "");
    EXPECT_TRUE(removed.result()["bigPic"].is_null());

    auto stranger = newSignedInUser("路人");
    auto refused = stranger->post("/post/v133/edit", {{"postId", postId}, {"content", "我来改改"}});
    EXPECT_EQ(refused.body["errorCode"], 100009);
}

TEST_F(SandboxTest, AnIncompleteProfileCannotPublish) {
    TestUser user;
    user.account = "newcomer@example.com";
    user.password = "secret99";
    user.nickname = "新人";
    user.hasGuided = false;
    ASSERT_TRUE(control().createUser(user));
    ApiClient client(port());
    client.signIn(user.account, user.password);
    auto refused = client.post("/post/sendPost", {{"content", "去玩玩吧"}});
    EXPECT_EQ(refused.body["errorCode"], 100010);
}

}  // namespace zorlet::sandbox::test
