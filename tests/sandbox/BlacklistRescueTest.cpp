#include "SandboxFixture.h"

#include <algorithm>

namespace zorlet::sandbox::test {

namespace {

std::vector<std::int64_t> uidsIn(const nlohmann::json& list) {
    std::vector<std::int64_t> uids;
    for (const auto& user : list) {
        uids.push_back(user.value("uid", std::int64_t{0}));
    }
    return uids;
}

bool contains(const std::vector<std::int64_t>& uids, std::int64_t uid) {
    return std::find(uids.begin(), uids.end(), uid) != uids.end();
}

class BlacklistRescueTest : public SandboxTest {};

TEST_F(BlacklistRescueTest, TheBlacklistListsBlockedUsersAndUnblockingBringsThemBack) {
    std::int64_t me = 0;
    std::int64_t other = 0;
    std::int64_t third = 0;
    auto client = newSignedInUser("我", &me, 116.40, 39.90);
    auto otherClient = newSignedInUser("别人", &other, 116.41, 39.91);
    auto thirdClient = newSignedInUser("第三人", &third, 116.42, 39.92);

    ASSERT_TRUE(
        client->post("/home/v133/blacklist/shield", {{"shieldUid", std::to_string(other)}}).success());
    auto list = client->get("/home/v133/blacklist/list", {{"page", "1"}});
    ASSERT_TRUE(list.success()) << list.text;
    EXPECT_EQ(uidsIn(list.result()["list"]), std::vector<std::int64_t>{other});
    EXPECT_FALSE(list.result()["pager"]["hasNext"].get<bool>());

    // A blocked user is neither suggested nor invited.
    auto suggested = client->get("/post/v135/rescueUsers");
    ASSERT_TRUE(suggested.success()) << suggested.text;
    auto suggestedUids = uidsIn(suggested.result()["list"]);
    EXPECT_FALSE(contains(suggestedUids, other));
    EXPECT_FALSE(contains(suggestedUids, me));
    EXPECT_TRUE(contains(suggestedUids, third));
    auto refused =
        client->post("/dialog/v135/rescueUser", {{"uid", std::to_string(other)}, {"postContent", "x"}});
    EXPECT_FALSE(refused.success());
    EXPECT_FALSE(refused.errorInfo().empty());

    ASSERT_TRUE(
        client->post("/home/v133/blacklist/cancel", {{"shieldUid", std::to_string(other)}}).success());
    EXPECT_TRUE(client->get("/home/v133/blacklist/list", {{"page", "1"}}).result()["list"].empty());
    EXPECT_TRUE(contains(uidsIn(client->get("/post/v135/rescueUsers").result()["list"]), other));
    // Unblocking twice is no error.
    EXPECT_TRUE(
        client->post("/home/v133/blacklist/cancel", {{"shieldUid", std::to_string(other)}}).success());
}

TEST_F(BlacklistRescueTest, BadParametersAreRefusedClearly) {
    std::int64_t me = 0;
    auto client = newSignedInUser("我", &me);
    for (const auto& [path, params] : std::vector<std::pair<std::string, httplib::Params>>{
             {"/home/v133/blacklist/cancel", {}},
             {"/home/v133/blacklist/cancel", {{"shieldUid", "abc"}}},
             {"/home/v133/blacklist/cancel", {{"shieldUid", "999999"}}},
             {"/home/v133/blacklist/list", {{"page", "-x"}}},
             {"/dialog/v135/rescueUser", {{"uid", std::to_string(me)}}},
             {"/dialog/v135/rescueUser", {{"uid", "999999"}}},
             {"/dialog/v135/rescueUser", {}},
         }) {
        auto answer = client->post(path, params);
        EXPECT_EQ(answer.status, 200) << path;
        EXPECT_FALSE(answer.success()) << path << " " << answer.text;
        EXPECT_FALSE(answer.errorInfo().empty()) << path;
    }
}

TEST_F(BlacklistRescueTest, ARescueInvitationArrivesAsAMessageWithThePostText) {
    std::int64_t me = 0;
    std::int64_t other = 0;
    auto client = newSignedInUser("我", &me, 116.40, 39.90);
    auto otherClient = newSignedInUser("别人", &other, 116.41, 39.91);
    ASSERT_TRUE(
        client
            ->post("/dialog/v135/rescueUser", {{"uid", std::to_string(other)}, {"postContent", "周末去香山"}})
            .success());
    auto dialogs = otherClient->get("/dialog/dialogList", {{"page", "1"}});
    ASSERT_TRUE(dialogs.success()) << dialogs.text;
    EXPECT_NE(dialogs.text.find("周末去香山"), std::string::npos) << dialogs.text;

    // The invitation text for friends is accepted whatever it holds, even empty.
    EXPECT_TRUE(client->post("/home/invite", {{"content", ""}}).success());
    EXPECT_TRUE(client->post("/home/invite", {{"content", "来玩"}}).success());
}

}  // namespace

}  // namespace zorlet::sandbox::test
