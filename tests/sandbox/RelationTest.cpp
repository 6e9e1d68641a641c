#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

#include <set>

namespace zorlet::sandbox::test {

namespace {

std::string id(std::int64_t value) {
    return std::to_string(value);
}

nlohmann::json userOf(ApiClient& viewer, std::int64_t uid) {
    auto answer = viewer.get("/home/v132/userInfo", {{"uid", id(uid)}});
    EXPECT_TRUE(answer.success()) << answer.text;
    return answer.success() ? answer.result()["userView"] : nlohmann::json();
}

// The uids of every page of a user list, checking that the pager agrees with what it holds.
std::vector<std::int64_t> allUids(ApiClient& client, const std::string& path, httplib::Params params = {}) {
    std::vector<std::int64_t> uids;
    for (int page = 1; page < 20; ++page) {
        params.erase("page");
        params.emplace("page", std::to_string(page));
        auto answer = client.get(path, params);
        EXPECT_TRUE(answer.success()) << answer.text;
        if (!answer.success()) {
            break;
        }
        for (const auto& user : answer.result()["list"]) {
            uids.push_back(user["uid"].get<std::int64_t>());
        }
        const auto& pager = answer.result()["pager"];
        if (!pager["hasNext"].get<bool>()) {
            EXPECT_EQ(pager["totalResults"].get<size_t>(), uids.size());
            break;
        }
    }
    return uids;
}

std::set<std::int64_t> nearbyUids(ApiClient& client) {
    std::set<std::int64_t> uids;
    auto answer = client.get("/post/v134/nearbyUsers");
    for (const auto& user : answer.result()["list"]) {
        uids.insert(user["uid"].get<std::int64_t>());
    }
    return uids;
}

}  // namespace

TEST_F(SandboxTest, FollowCountsAlwaysMatchTheFollowLists) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::int64_t c = 0;
    auto alice = newSignedInUser("阿丽", &a);
    auto bob = newSignedInUser("阿博", &b);
    auto carol = newSignedInUser("小卡", &c);

    auto followed = alice->post("/home/interest", {{"uid", id(b)}});
    ASSERT_TRUE(followed.success()) << followed.text;
    EXPECT_EQ(followed.result()["hasInterest"], 1);
    EXPECT_EQ(followed.result()["interestMeCount"], 1);
    // Following again changes nothing.
    EXPECT_TRUE(alice->post("/home/interest", {{"uid", id(b)}}).success());
    ASSERT_TRUE(carol->post("/home/interest", {{"uid", id(b)}}).success());

    auto bobSeenByAlice = userOf(*alice, b);
    EXPECT_EQ(bobSeenByAlice["hasInterest"], 1);
    EXPECT_EQ(bobSeenByAlice["interestMeCount"], 2);
    EXPECT_EQ(userOf(*bob, a)["hasInterest"], 0);
    EXPECT_EQ(userOf(*alice, a)["interestUserCount"], 1);

    EXPECT_EQ(allUids(*alice, "/home/interestList"), std::vector<std::int64_t>{b});
    auto fans = allUids(*bob, "/home/interestMeList");
    EXPECT_EQ(std::set<std::int64_t>(fans.begin(), fans.end()), (std::set<std::int64_t>{a, c}));
    EXPECT_EQ(fans.front(), c) << "latest follower first";
    EXPECT_EQ(bob->post("/passport/v132/login").result()["userView"]["interestMeCount"], 2);

    ASSERT_TRUE(alice->post("/home/removeInterest", {{"uid", id(b)}}).success());
    EXPECT_TRUE(alice->post("/home/removeInterest", {{"uid", id(b)}}).success());
    EXPECT_EQ(userOf(*alice, b)["hasInterest"], 0);
    EXPECT_EQ(userOf(*alice, b)["interestMeCount"], 1);
    EXPECT_TRUE(allUids(*alice, "/home/interestList").empty());
    EXPECT_EQ(allUids(*bob, "/home/interestMeList"), std::vector<std::int64_t>{c});

    EXPECT_EQ(alice->post("/home/interest", {{"uid", id(a)}}).errorInfo(), "不能关注自己");
    EXPECT_EQ(alice->post("/home/removeInterest", {{"uid", id(a)}}).errorInfo(), "不能取消关注自己");
    EXPECT_EQ(alice->post("/home/interest", {{"uid", "999999"}}).errorInfo(), "该用户不存在");
    EXPECT_EQ(alice->post("/home/removeInterest", {{"uid", "999999"}}).errorInfo(), "该用户不存在");
    for (const char* bad : {"", "abc", "-3", "0"}) {
        auto refused = alice->post("/home/interest", {{"uid", bad}});
        EXPECT_EQ(refused.status, 200) << bad;
        EXPECT_EQ(refused.errorInfo(), "请指定要关注的用户") << bad;
    }
    EXPECT_FALSE(alice->post("/home/interest").success());
    EXPECT_EQ(alice->get("/home/interestList", {{"page", "x"}}).errorInfo(), "页码不正确");
    EXPECT_EQ(ApiClient(port()).post("/home/interest", {{"uid", id(b)}}).status, 401);
}

TEST_F(DemoSandboxTest, DemoFollowListsPageAndAgreeWithTheHomeCounters) {
    ApiClient demo(port());
    auto me = demo.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword)["userView"];
    auto following = allUids(demo, "/home/interestList");
    auto followers = allUids(demo, "/home/interestMeList");
    EXPECT_EQ(me["interestUserCount"].get<size_t>(), following.size());
    EXPECT_EQ(me["interestMeCount"].get<size_t>(), followers.size());
    EXPECT_GT(followers.size(), 20u) << "the followers list needs a second page";
    EXPECT_EQ(std::set<std::int64_t>(followers.begin(), followers.end()).size(), followers.size());
    EXPECT_FALSE(following.empty());
    for (auto uid : following) {
        EXPECT_EQ(userOf(demo, uid)["hasInterest"], 1);
    }
}

TEST_F(SandboxTest, BlockingHidesBothUsersFromEachOthersFeedsAndStopsContact) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    std::int64_t c = 0;
    auto alice = newSignedInUser("阿丽", &a, 116.40, 39.91);
    auto bob = newSignedInUser("阿博", &b, 116.41, 39.92);
    auto carol = newSignedInUser("小卡", &c, 116.42, 39.93);
    ASSERT_TRUE(alice->post("/home/interest", {{"uid", id(b)}}).success());
    ASSERT_TRUE(bob->post("/home/interest", {{"uid", id(a)}}).success());
    auto bobsPost = control().createPost(b, {"爬山", "周末去香山", "香山", "", 1});
    auto alicesPost = control().createPost(a, {"看电影", "一起看电影吧", "", "", 1});
    ASSERT_TRUE(bobsPost && alicesPost);
    ASSERT_TRUE(nearbyUids(*alice).count(b));

    auto blocked = alice->post("/home/v133/blacklist/shield", {{"shieldUid", id(b)}});
    ASSERT_TRUE(blocked.success()) << blocked.text;
    EXPECT_TRUE(alice->post("/home/v133/blacklist/shield", {{"shieldUid", id(b)}}).success());

    EXPECT_EQ(nearbyUids(*alice), std::set<std::int64_t>{c});
    EXPECT_EQ(nearbyUids(*bob), std::set<std::int64_t>{c});
    EXPECT_EQ(nearbyUids(*carol), (std::set<std::int64_t>{a, b}));
    for (const char* order : {"online", "new"}) {
        auto answer = alice->get("/post/v134/userPosts", {{"orderType", order}});
        std::set<std::int64_t> listed;
        for (const auto& user : answer.result()["list"]) {
            listed.insert(user["uid"].get<std::int64_t>());
        }
        EXPECT_EQ(listed, (std::set<std::int64_t>{a, c})) << order;
        EXPECT_EQ(answer.result()["pager"]["totalResults"], 2) << order;
    }

    // Blocking ends following both ways, and neither can start again or leave a comment.
    EXPECT_TRUE(allUids(*alice, "/home/interestList").empty());
    EXPECT_TRUE(allUids(*alice, "/home/interestMeList").empty());
    EXPECT_EQ(userOf(*carol, a)["interestUserCount"], 0);
    EXPECT_EQ(bob->post("/home/interest", {{"uid", id(a)}}).errorInfo(), "你们之间有屏蔽关系，无法关注");
    EXPECT_EQ(alice->post("/home/interest", {{"uid", id(b)}}).errorInfo(), "你们之间有屏蔽关系，无法关注");
    EXPECT_EQ(bob->post("/post/v133/comment", {{"postId", id(*alicesPost)}, {"content", "你好"}}).errorInfo(),
              "你们之间有屏蔽关系，无法留言");
    EXPECT_EQ(alice->post("/post/v133/comment", {{"postId", id(*bobsPost)}, {"content", "你好"}}).errorInfo(),
              "你们之间有屏蔽关系，无法留言");
    EXPECT_TRUE(
        carol->post("/post/v133/comment", {{"postId", id(*bobsPost)}, {"content", "你好"}}).success());

    // Invitations are refused both ways alike: by the one who blocked and to them.
    auto invite = [&](ApiClient& from, std::int64_t to) {
        return from.post("/dialog/v133/sendDate", {{"content", "周末一起爬山吧"}, {"targetUid", id(to)}});
    };
    auto messagesBefore = control().messagesFrom(a).size() + control().messagesFrom(b).size();
    EXPECT_EQ(invite(*alice, b).errorInfo(), "你们之间有屏蔽关系，无法邀请");
    EXPECT_EQ(invite(*bob, a).errorInfo(), "你们之间有屏蔽关系，无法邀请");
    EXPECT_EQ(control().messagesFrom(a).size() + control().messagesFrom(b).size(), messagesBefore);
    EXPECT_TRUE(invite(*carol, b).success());
    EXPECT_TRUE(invite(*alice, c).success());

    EXPECT_EQ(alice->post("/home/v133/blacklist/shield", {{"shieldUid", id(a)}}).errorInfo(), "不能屏蔽自己");
    EXPECT_EQ(alice->post("/home/v133/blacklist/shield", {{"shieldUid", "999999"}}).errorInfo(),
              "该用户不存在");
    EXPECT_EQ(alice->post("/home/v133/blacklist/shield", {{"uid", id(c)}}).errorInfo(), "请指定要屏蔽的用户");
    EXPECT_TRUE(nearbyUids(*alice).count(c));
}

TEST_F(SandboxTest, ReportsAreKeptForTheOperators) {
    std::int64_t a = 0;
    std::int64_t b = 0;
    auto alice = newSignedInUser("阿丽", &a);
    newSignedInUser("阿博", &b);
    auto report = [&](const std::string& reportUid, const std::string& contentId) {
        return alice->post(
            "/home/v133/report/save",
            {{"reportUid", reportUid}, {"reportType", "0"}, {"contentType", "3"}, {"contentId", contentId}});
    };
    ASSERT_TRUE(report(id(b), id(b)).success());
    EXPECT_EQ(report(id(a), id(a)).errorInfo(), "不能举报自己");
    EXPECT_EQ(report("999999", "999999").errorInfo(), "该用户不存在");
    EXPECT_EQ(report(id(b), "").errorInfo(), "举报内容不完整");
    EXPECT_EQ(report("", id(b)).errorInfo(), "请指定要举报的用户");
    EXPECT_EQ(alice->post("/home/v133/report/save", {{"reportUid", id(b)}, {"contentId", id(b)}}).errorInfo(),
              "举报内容不完整");

    auto reports = control().reports();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(reports[0].uid, a);
    EXPECT_EQ(reports[0].reportUid, b);
    EXPECT_EQ(reports[0].contentType, 3);
    EXPECT_EQ(reports[0].contentId, b);
    auto listed = admin().get("/__sandbox/reports");
    ASSERT_TRUE(listed.success()) << listed.text;
    ASSERT_EQ(listed.result().size(), 1u);
    EXPECT_EQ(listed.result()[0]["reportUid"], b);
}

}  // namespace zorlet::sandbox::test
