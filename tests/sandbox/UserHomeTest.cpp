#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"
#include "sandbox/SocialSeed.h"

namespace zorlet::sandbox::test {

namespace {

std::string id(std::int64_t value) {
    return std::to_string(value);
}

class DemoHomeTest : public DemoSandboxTest {
protected:
    void SetUp() override {
        DemoSandboxTest::SetUp();
        if (HasFatalFailure()) {
            return;
        }
        client = std::make_unique<ApiClient>(port());
        me = demo()
                 .signIn(DemoSeed::demoAccount, DemoSeed::demoPassword)["userView"]["uid"]
                 .get<std::int64_t>();
    }

    nlohmann::json homeOf(const std::string& account) {
        auto uid = control().uidOf(account);
        EXPECT_TRUE(uid) << account;
        auto answer = demo().get("/home/v132/userInfo", {{"uid", id(uid.value_or(0))}});
        EXPECT_TRUE(answer.success()) << answer.text;
        return answer.success() ? answer.result() : nlohmann::json::object();
    }

    ApiClient& demo() { return *client; }

    std::unique_ptr<ApiClient> client;
    std::int64_t me = 0;
};

}  // namespace

TEST_F(DemoHomeTest, AnotherUsersHomeCarriesEverythingTheScreenShows) {
    auto home = homeOf("user01@zorlet.local");
    const auto& user = home["userView"];
    EXPECT_EQ(user["hasInterest"], 1);
    EXPECT_EQ(user["postCount"], SocialSeed::busyAuthorPosts);
    EXPECT_GE(user["interestMeCount"].get<int>(), 1);
    EXPECT_TRUE(user["interestUserCount"].is_number());
    EXPECT_EQ(user["tpName"], "weibo");
    EXPECT_FALSE(user["nickname"].get<std::string>().empty());
    EXPECT_EQ(home["socialLink"], "http://weibo.com/zorlet_demo_1");
    EXPECT_EQ(home["phoneType"], "iPhone 4S");
    EXPECT_FALSE(home["userPlace"].get<std::string>().empty());
    EXPECT_TRUE(home["latitude"].is_number());
    EXPECT_TRUE(home["longitude"].is_number());
    EXPECT_GT(home["registerTime"].get<std::int64_t>(), 0);
    for (const char* flag : {"locationSecret", "phoneSecret", "socialSecret"}) {
        EXPECT_EQ(home[flag], false) << flag;
    }
    ASSERT_EQ(home["preferenceViews"].size(), 4u);
    for (const auto& preference : home["preferenceViews"]) {
        EXPECT_FALSE(preference["answer"].empty()) << preference["title"];
    }
    EXPECT_FALSE(home["preferenceViews"][0]["displayAnswer"].get<std::string>().empty());

    // What a user hides stays hidden from others.
    auto hiddenPlace = homeOf("user11@zorlet.local");
    EXPECT_EQ(hiddenPlace["locationSecret"], true);
    EXPECT_EQ(hiddenPlace["userPlace"], "");
    EXPECT_FALSE(hiddenPlace.contains("latitude"));
    auto hiddenPhone = homeOf("user07@zorlet.local");
    EXPECT_EQ(hiddenPhone["phoneSecret"], true);
    EXPECT_EQ(hiddenPhone["phoneType"], "");
    auto hiddenSocial = homeOf("user04@zorlet.local");
    EXPECT_EQ(hiddenSocial["socialSecret"], true);
    EXPECT_EQ(hiddenSocial["socialLink"], "");
    EXPECT_EQ(hiddenSocial["userView"]["tpName"], "douban");

    auto own = homeOf(DemoSeed::demoAccount);
    EXPECT_EQ(own["userView"]["uid"], me);
    EXPECT_EQ(own["userView"]["hasInterest"], 0);
    EXPECT_EQ(own["userView"]["postCount"], 3);

    EXPECT_EQ(demo().get("/home/v132/userInfo").errorInfo(), "请指定要查看的用户");
    EXPECT_EQ(demo().get("/home/v132/userInfo", {{"uid", "abc"}}).errorInfo(), "请指定要查看的用户");
    EXPECT_EQ(demo().get("/home/v132/userInfo", {{"uid", "999999"}}).errorInfo(), "该用户不存在");
    EXPECT_EQ(ApiClient(port()).get("/home/v132/userInfo", {{"uid", id(me)}}).status, 401);
}

TEST_F(DemoHomeTest, PostListsPageNewestFirst) {
    auto busyAuthor = *control().uidOf("user01@zorlet.local");
    std::vector<nlohmann::json> posts;
    for (int page = 1; page <= 3; ++page) {
        auto answer = demo().get("/home/posts", {{"uid", id(busyAuthor)}, {"page", std::to_string(page)}});
        ASSERT_TRUE(answer.success()) << answer.text;
        const auto& pager = answer.result()["pager"];
        EXPECT_EQ(pager["currentPage"], page);
        EXPECT_EQ(pager["totalResults"], SocialSeed::busyAuthorPosts);
        for (const auto& post : answer.result()["list"]) {
            posts.push_back(post);
        }
        if (!pager["hasNext"].get<bool>()) {
            break;
        }
        EXPECT_EQ(answer.result()["list"].size(), pager["maxResult"].get<size_t>());
    }
    ASSERT_EQ(posts.size(), static_cast<size_t>(SocialSeed::busyAuthorPosts));
    for (size_t i = 0; i < posts.size(); ++i) {
        EXPECT_EQ(posts[i]["createUid"], busyAuthor);
        if (i > 0) {
            EXPECT_GE(posts[i - 1]["createTime"], posts[i]["createTime"]) << i;
        }
    }

    // Without a uid: the signed-in user's own posts, with who responded.
    auto own = demo().get("/home/posts", {{"uid", ""}});
    ASSERT_TRUE(own.success()) << own.text;
    ASSERT_EQ(own.result()["list"].size(), 3u);
    for (const auto& post : own.result()["list"]) {
        EXPECT_EQ(post["createUid"], me);
    }
    EXPECT_GT(own.result()["list"][0]["respCnt"].get<int>(), 0);

    EXPECT_EQ(demo().get("/home/posts", {{"uid", "abc"}}).errorInfo(), "用户参数不正确");
    EXPECT_EQ(demo().get("/home/posts", {{"uid", "999999"}}).errorInfo(), "该用户不存在");
    EXPECT_EQ(demo().get("/home/posts", {{"page", "x"}}).errorInfo(), "页码不正确");
    EXPECT_TRUE(demo().get("/home/posts", {{"page", "9"}}).result()["list"].empty());
}

TEST_F(SandboxTest, DateSuggestionsAreReadyMadeTexts) {
    auto client = newSignedInUser("想约人");
    auto answer = client->get("/dialog/v133/dateRandom");
    ASSERT_TRUE(answer.success()) << answer.text;
    ASSERT_TRUE(answer.result().is_string());
    EXPECT_FALSE(answer.result().get<std::string>().empty());
    EXPECT_EQ(ApiClient(port()).get("/dialog/v133/dateRandom").status, 401);
}

}  // namespace zorlet::sandbox::test
