#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

#include <cmath>
#include <set>

namespace zorlet::sandbox::test {

namespace {

// Every page of a feed, checking the pager on the way.
std::vector<nlohmann::json> allPages(ApiClient& client, const std::string& path, httplib::Params params) {
    std::vector<nlohmann::json> users;
    for (int page = 1; page < 50; ++page) {
        params.erase("page");
        params.emplace("page", std::to_string(page));
        auto answer = client.get(path, params);
        EXPECT_TRUE(answer.success()) << answer.text;
        if (!answer.success()) {
            break;
        }
        const auto& pager = answer.result()["pager"];
        EXPECT_EQ(pager["currentPage"], page);
        EXPECT_EQ(pager["hasPre"], page > 1);
        EXPECT_TRUE(pager["hasNext"].is_boolean());
        for (const auto& user : answer.result()["list"]) {
            users.push_back(user);
        }
        if (!pager["hasNext"].get<bool>()) {
            EXPECT_EQ(pager["totalPage"], page);
            EXPECT_EQ(pager["totalResults"].get<size_t>(), users.size());
            break;
        }
        EXPECT_EQ(answer.result()["list"].size(), pager["maxResult"].get<size_t>());
    }
    return users;
}

std::set<std::int64_t> uidsOf(const std::vector<nlohmann::json>& users) {
    std::set<std::int64_t> uids;
    for (const auto& user : users) {
        uids.insert(user["uid"].get<std::int64_t>());
    }
    return uids;
}

double distanceTo(const nlohmann::json& user, double longitude, double latitude) {
    constexpr double toRadians = 3.14159265358979323846 / 180;
    double lon = user["location"][0].get<double>();
    double lat = user["location"][1].get<double>();
    double a = std::pow(std::sin((lat - latitude) * toRadians / 2), 2) +
               std::cos(lat * toRadians) * std::cos(latitude * toRadians) *
                   std::pow(std::sin((lon - longitude) * toRadians / 2), 2);
    return 2 * 6371008.8 * std::asin(std::sqrt(a));
}

}  // namespace

TEST_F(DemoSandboxTest, FeedsPageThroughEveryUserWithoutDuplicatesOrGaps) {
    ApiClient client(port());
    auto home = client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    auto me = home["userView"]["uid"].get<std::int64_t>();

    auto nearby = allPages(client, "/post/v134/nearbyUsers", {});
    EXPECT_EQ(nearby.size(), static_cast<size_t>(DemoSeed::otherUsers));
    EXPECT_EQ(uidsOf(nearby).size(), nearby.size());
    EXPECT_FALSE(uidsOf(nearby).count(me));
    for (size_t i = 1; i < nearby.size(); ++i) {
        // Users who hide their position come last, without one.
        if (nearby[i]["location"].is_null()) {
            continue;
        }
        ASSERT_FALSE(nearby[i - 1]["location"].is_null()) << "a located user after one without a position";
        EXPECT_LE(distanceTo(nearby[i - 1], 116.397, 39.909), distanceTo(nearby[i], 116.397, 39.909) + 0.001)
            << "position " << i;
    }

    for (const char* order : {"online", "new"}) {
        auto users = allPages(client, "/post/v134/userPosts", {{"orderType", order}});
        EXPECT_EQ(users.size(), static_cast<size_t>(DemoSeed::otherUsers + 1)) << order;
        EXPECT_EQ(uidsOf(users).size(), users.size()) << order;
    }

    // "new": users by their latest post, newest first, those without a post last.
    auto newest = allPages(client, "/post/v134/userPosts", {{"orderType", "new"}});
    bool seenWithoutPost = false;
    for (const auto& user : newest) {
        if (user["postView"].is_null()) {
            seenWithoutPost = true;
            continue;
        }
        EXPECT_FALSE(seenWithoutPost) << "a user with a post after one without";
    }
    EXPECT_TRUE(seenWithoutPost);
    for (size_t i = 1; i < newest.size() && !newest[i]["postView"].is_null(); ++i) {
        EXPECT_GE(newest[i - 1]["postView"]["createTime"], newest[i]["postView"]["createTime"]);
    }

    // The demo data has posts with and without pictures, places and dates.
    int withPicture = 0;
    int withPlace = 0;
    int withDate = 0;
    for (const auto& user : nearby) {
        EXPECT_FALSE(user["bigLogo"].get<std::string>().empty());
        if (user["postView"].is_null()) {
            continue;
        }
        withPicture += user["postView"]["bigPic"].is_string() ? 1 : 0;
        withPlace += user["postView"]["place"] != "" ? 1 : 0;
        withDate += user["postView"]["date"] != "" ? 1 : 0;
    }
    EXPECT_GT(withPicture, 0);
    EXPECT_GT(withPlace, 0);
    EXPECT_GT(withDate, 0);
}

TEST_F(DemoSandboxTest, GenderFilterAndPageEdges) {
    ApiClient client(port());
    client.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    auto women = allPages(client, "/post/v134/nearbyUsers", {{"gender", "0"}});
    auto men = allPages(client, "/post/v134/nearbyUsers", {{"gender", "1"}});
    EXPECT_EQ(women.size() + men.size(), static_cast<size_t>(DemoSeed::otherUsers));
    for (const auto& user : women) {
        EXPECT_EQ(user["gender"], 0);
    }
    for (const auto& user : men) {
        EXPECT_EQ(user["gender"], 1);
    }

    auto zero = client.get("/post/v134/nearbyUsers", {{"page", "0"}});
    EXPECT_EQ(zero.result()["pager"]["currentPage"], 1);
    auto beyond = client.get("/post/v134/nearbyUsers", {{"page", "9"}});
    ASSERT_TRUE(beyond.success());
    EXPECT_TRUE(beyond.result()["list"].empty());
    EXPECT_EQ(beyond.result()["pager"]["hasNext"], false);
    EXPECT_EQ(client.get("/post/v134/nearbyUsers", {{"page", "abc"}}).errorInfo(), "页码不正确");
    EXPECT_FALSE(client.get("/post/v134/nearbyUsers", {{"gender", "7"}}).success());
    EXPECT_EQ(client.get("/post/v134/userPosts", {{"orderType", "hot"}}).errorInfo(), "排序方式不正确");
}

TEST_F(SandboxTest, NearbyFollowsTheReportedPosition) {
    std::int64_t near = 0;
    std::int64_t far = 0;
    auto nearClient = newSignedInUser("近处", &near, 116.40, 39.91);
    newSignedInUser("远处", &far, 121.47, 31.23);
    newSignedInUser("不知在哪");
    auto me = newSignedInUser("我");
    // Without a position of my own: by activity, all three listed.
    EXPECT_EQ(me->get("/post/v134/nearbyUsers").result()["list"].size(), 3u);

    EXPECT_FALSE(me->get("/home/updateloc", {{"longitude", "200"}, {"latitude", "31"}}).success());
    EXPECT_FALSE(me->get("/home/updateloc", {{"longitude", "abc"}, {"latitude", "31"}}).success());
    ASSERT_TRUE(me->get("/home/updateloc", {{"longitude", "121.5"}, {"latitude", "31.2"}}).success());
    auto list = me->get("/post/v134/nearbyUsers").result()["list"];
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]["uid"], far);
    EXPECT_EQ(list[1]["uid"], near);
    EXPECT_TRUE(list[2]["location"].is_null());
    EXPECT_EQ(list[0]["postView"], nullptr);
    EXPECT_EQ(me->post("/passport/v132/login").result()["longitude"], 121.5);
}

TEST_F(SandboxTest, RespondingIsIdempotentCountsAndNotifiesTheAuthor) {
    std::int64_t author = 0;
    auto authorClient = newSignedInUser("作者", &author);
    auto postId = control().createPost(author, {"爬山", "周末去香山", "香山", "", 1});
    ASSERT_TRUE(postId);
    auto fan = newSignedInUser("粉丝");
    auto first = fan->post("/post/respPost", {{"postId", std::to_string(*postId)}});
    ASSERT_TRUE(first.success()) << first.text;
    EXPECT_EQ(first.result()["respCnt"], 1);
    EXPECT_EQ(first.result()["hasResp"], 1);
    EXPECT_TRUE(fan->post("/post/respPost", {{"postId", std::to_string(*postId)}}).success());
    EXPECT_EQ(fan->post("/post/respPost", {{"postId", std::to_string(*postId)}}).result()["respCnt"], 1);
    EXPECT_EQ(authorClient->get("/dialog/notice/nums").result(), 1);

    auto list = fan->get("/post/v134/userPosts", {{"orderType", "new"}}).result()["list"];
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0]["postView"]["postId"], *postId);
    EXPECT_EQ(list[0]["postView"]["hasResp"], 1);
    EXPECT_EQ(list[0]["postView"]["respCnt"], 1);
    EXPECT_EQ(list[0]["postCount"], 1);

    EXPECT_EQ(authorClient->post("/post/respPost", {{"postId", std::to_string(*postId)}}).errorInfo(),
              "不能响应自己的Zorlet");
    EXPECT_FALSE(fan->post("/post/respPost", {{"postId", "999999"}}).success());
    EXPECT_FALSE(fan->post("/post/respPost", {{"postId", "x"}}).success());
    EXPECT_FALSE(fan->post("/post/respPost").success());
}

TEST_F(SandboxTest, NoticeCountFollowsTheTestControl) {
    std::int64_t uid = 0;
    std::int64_t sender = 0;
    auto client = newSignedInUser("收信人", &uid);
    newSignedInUser("发信人", &sender);
    EXPECT_EQ(client->get("/dialog/notice/nums").result(), 0);
    ASSERT_TRUE(control().setUnreadNotices(uid, 7));
    EXPECT_EQ(client->get("/dialog/notice/nums").result(), 7);
    ASSERT_TRUE(control().injectMessage(sender, uid, "你好"));
    EXPECT_EQ(client->get("/dialog/notice/nums").result(), 8);
    EXPECT_FALSE(control().injectMessage(uid, uid, "自己"));
    EXPECT_TRUE(client->post("/home/v132/updatePhone", {{"phoneType", "iPhone 4S"}}).success());
    EXPECT_FALSE(client->post("/home/v132/updatePhone").success());
    EXPECT_EQ(client->post("/passport/v132/login").result()["phoneType"], "iPhone 4S");
}

}  // namespace zorlet::sandbox::test
