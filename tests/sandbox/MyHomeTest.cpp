#include "SandboxFixture.h"

namespace zorlet::sandbox::test {

namespace {

const nlohmann::json& question(const nlohmann::json& home, std::int64_t preferenceId) {
    for (const auto& view : home["preferenceViews"]) {
        if (view["preferenceId"] == preferenceId) {
            return view;
        }
    }
    static const nlohmann::json none;
    return none;
}

std::string repeated(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) {
        out += text;
    }
    return out;
}

}  // namespace

TEST_F(SandboxTest, RefreshGivesTheOwnHomeWithCountersMatchingTheListsAndPosts) {
    std::int64_t me = 0;
    std::int64_t other = 0;
    auto client = newSignedInUser("我自己", &me, 116.40, 39.90);
    auto follower = newSignedInUser("粉丝", &other);
    ASSERT_TRUE(client->post("/home/v132/updatePhone", {{"phoneType", "iPhone 5"}}).success());
    ASSERT_TRUE(client->post("/home/interest", {{"uid", std::to_string(other)}}).success());
    ASSERT_TRUE(follower->post("/home/interest", {{"uid", std::to_string(me)}}).success());
    TestPost post;
    post.content = "周末去爬山";
    ASSERT_TRUE(control().createPost(me, post));
    ASSERT_TRUE(control().createPost(me, post));

    auto refreshed = client->get("/home/v132/refresh");
    ASSERT_TRUE(refreshed.success()) << refreshed.text;
    const auto& home = refreshed.result();
    EXPECT_EQ(home["userView"]["uid"], me);
    EXPECT_EQ(home["userView"]["postCount"], 2);
    EXPECT_EQ(home["userView"]["interestUserCount"], 1);
    EXPECT_EQ(home["userView"]["interestMeCount"], 1);
    EXPECT_EQ(home["phoneType"], "iPhone 5");
    EXPECT_EQ(home["preferenceViews"].size(), 4u);
    EXPECT_GT(home["registerTime"].get<std::int64_t>(), 0);
    EXPECT_TRUE(home["latitude"].is_number());

    // The follow lists have as many entries as the counters say.
    auto following = client->get("/home/interestList", {{"page", "1"}});
    ASSERT_TRUE(following.success()) << following.text;
    EXPECT_EQ(following.result()["list"].size(), 1u);

    // Nobody signed in: the session is refused, never answered with someone's home.
    ApiClient stranger(port());
    EXPECT_EQ(stranger.get("/home/v132/refresh").status, 401);
}

TEST_F(SandboxTest, SavedAnswersComeBackInTheHomeAndKeepUnsentQuestions) {
    auto client = newSignedInUser("答题者");
    auto saved = client->post("/home/v132/savePreference", {{"userPreferences[0].preferenceId", "1"},
                                                            {"userPreferences[0].description", "最好是周末"},
                                                            {"userPreferences[0].answer[0]", "2"},
                                                            {"userPreferences[0].answer[1]", "0"},
                                                            {"userPreferences[1].preferenceId", "2"},
                                                            {"userPreferences[1].answer[0]", "3"},
                                                            {"userPreferences[2].preferenceId", "3"},
                                                            {"userPreferences[2].answer[0]", "100"},
                                                            {"userPreferences[2].answer[1]", "300"},
                                                            {"userPreferences[3].preferenceId", "4"},
                                                            {"userPreferences[3].answer[0]", "  香山  "}});
    ASSERT_TRUE(saved.success()) << saved.text;
    const auto& home = saved.result();
    EXPECT_EQ(question(home, 1)["answer"], nlohmann::json({"2", "0"}));
    EXPECT_EQ(question(home, 1)["description"], "最好是周末");
    EXPECT_EQ(question(home, 1)["displayAnswer"], "吃美食、户外运动");
    EXPECT_EQ(question(home, 2)["answer"], nlohmann::json({3}));
    EXPECT_EQ(question(home, 2)["displayAnswer"], "随时都可以");
    EXPECT_EQ(question(home, 3)["displayAnswer"], "100-300");
    EXPECT_EQ(question(home, 4)["answer"], nlohmann::json({"香山"}));

    // A question without answers clears it; the supplement is kept when not sent.
    ASSERT_TRUE(
        client->post("/home/v132/savePreference", {{"userPreferences[0].preferenceId", "2"}}).success());
    auto home2 = client->get("/home/v132/refresh").result();
    EXPECT_TRUE(question(home2, 2)["answer"].empty());
    EXPECT_EQ(question(home2, 3)["displayAnswer"], "100-300");
    ASSERT_TRUE(client
                    ->post("/home/v132/savePreference",
                           {{"userPreferences[0].preferenceId", "1"}, {"userPreferences[0].answer[0]", "5"}})
                    .success());
    EXPECT_EQ(question(client->get("/home/v132/refresh").result(), 1)["description"], "最好是周末");
}

TEST_F(SandboxTest, AnswersOutsideTheQuestionnaireAreRefusedWithAReason) {
    auto client = newSignedInUser("乱填的人");
    auto refused = [&](const httplib::Params& form) {
        auto answer = client->post("/home/v132/savePreference", form);
        EXPECT_EQ(answer.status, 200) << answer.text;
        EXPECT_FALSE(answer.success()) << answer.text;
        EXPECT_EQ(answer.body.value("errorCode", 0), 100001) << answer.text;
        return answer.errorInfo();
    };
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "99"}}), "问卷中没有这个问题");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "abc"}}), "提交的问卷格式不正确");
    EXPECT_EQ(refused({{"userPreferences[0].answer[0]", "1"}}), "提交的问卷格式不正确");
    EXPECT_EQ(refused({{"userPreferences[x].preferenceId", "1"}}), "提交的问卷格式不正确");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "1"}, {"userPreferences[0].color", "red"}}),
              "提交的问卷格式不正确");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "2"}, {"userPreferences[0].answer[1]", "1"}}),
              "提交的问卷格式不正确");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "2"}, {"userPreferences[1].preferenceId", "2"}}),
              "同一个问题提交了两次");
    // Options that do not exist, too many choices, repeated choices.
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "2"}, {"userPreferences[0].answer[0]", "4"}}),
              "“你通常什么时候有空”没有这个选项");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "1"}, {"userPreferences[0].answer[0]", "-1"}}),
              "“你喜欢怎么出去玩”没有这个选项");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "1"},
                       {"userPreferences[0].answer[0]", "0"},
                       {"userPreferences[0].answer[1]", "1"},
                       {"userPreferences[0].answer[2]", "2"},
                       {"userPreferences[0].answer[3]", "3"}}),
              "“你喜欢怎么出去玩”请选择1到3项");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "1"},
                       {"userPreferences[0].answer[0]", "1"},
                       {"userPreferences[0].answer[1]", "1"}}),
              "“你喜欢怎么出去玩”没有这个选项");
    // Numbers outside the range, or reversed.
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "3"},
                       {"userPreferences[0].answer[0]", "0"},
                       {"userPreferences[0].answer[1]", "1001"}}),
              "“一次出去玩的预算（元）”的数值应在0到1000之间");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "3"}, {"userPreferences[0].answer[0]", "10"}}),
              "“一次出去玩的预算（元）”需要一个最小值和一个最大值");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "3"},
                       {"userPreferences[0].answer[0]", "500"},
                       {"userPreferences[0].answer[1]", "100"}}),
              "“一次出去玩的预算（元）”的最小值不能大于最大值");
    // Texts over their limits.
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "4"},
                       {"userPreferences[0].answer[0]", repeated("山", 31)}}),
              "“最想去的地方”请不要超过30字");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "1"},
                       {"userPreferences[0].answer[0]", "1"},
                       {"userPreferences[0].description", repeated("好", 51)}}),
              "补充说明请不要超过50字");
    EXPECT_EQ(refused({{"userPreferences[0].preferenceId", "2"}, {"userPreferences[0].description", "随便"}}),
              "“你通常什么时候有空”没有补充说明");

    // Nothing of a refused form was stored, even its valid questions.
    EXPECT_FALSE(client
                     ->post("/home/v132/savePreference", {{"userPreferences[0].preferenceId", "2"},
                                                          {"userPreferences[0].answer[0]", "1"},
                                                          {"userPreferences[1].preferenceId", "99"}})
                     .success());
    EXPECT_TRUE(question(client->get("/home/v132/refresh").result(), 2)["answer"].empty());
}

TEST_F(SandboxTest, PrivacySwitchesTakeEffectForOtherUsers) {
    std::int64_t me = 0;
    auto client = newSignedInUser("隐身的人", &me, 116.40, 39.90);
    auto viewer = newSignedInUser("看的人", nullptr, 116.41, 39.91);
    ASSERT_TRUE(client->post("/home/v132/updatePhone", {{"phoneType", "iPhone 5"}}).success());
    auto seenBy = [&] { return viewer->get("/home/v132/userInfo", {{"uid", std::to_string(me)}}).result(); };
    EXPECT_TRUE(seenBy()["userView"]["location"].is_array());
    EXPECT_EQ(seenBy()["phoneType"], "iPhone 5");

    auto saved = client->post("/profile/v132/savePrivacy", {{"uid", std::to_string(me)},
                                                            {"locationSecret", "1"},
                                                            {"phoneSecret", "true"},
                                                            {"synchronizeSecret", "0"}});
    ASSERT_TRUE(saved.success()) << saved.text;
    EXPECT_EQ(saved.result()["locationSecret"], true);
    EXPECT_EQ(saved.result()["phoneSecret"], true);
    EXPECT_EQ(saved.result()["synchronizeSecret"], false);
    // The owner still sees everything of their own.
    EXPECT_EQ(saved.result()["phoneType"], "iPhone 5");
    EXPECT_TRUE(saved.result()["userView"]["location"].is_array());

    auto hidden = seenBy();
    EXPECT_TRUE(hidden["userView"]["location"].is_null());
    EXPECT_FALSE(hidden.contains("latitude"));
    EXPECT_EQ(hidden["phoneType"], "");
    // Nor does the feed give a position to measure a distance from.
    auto feed = viewer->get("/post/v134/nearbyUsers", {{"page", "1"}});
    ASSERT_TRUE(feed.success()) << feed.text;
    for (const auto& user : feed.result()["list"]) {
        if (user["uid"] == me) {
            EXPECT_TRUE(user["location"].is_null());
        }
    }

    // Bad input is refused, never a server fault, and changes nothing.
    auto refusedWith = [&](const httplib::Params& form) {
        auto answer = client->post("/profile/v132/savePrivacy", form);
        EXPECT_EQ(answer.status, 200) << answer.text;
        EXPECT_FALSE(answer.success()) << answer.text;
        return answer.errorInfo();
    };
    EXPECT_EQ(refusedWith({{"locationSecret", "0"}, {"phoneSecret", "0"}}), "隐私设置参数不正确");
    EXPECT_EQ(refusedWith({{"locationSecret", "maybe"}, {"phoneSecret", "0"}, {"synchronizeSecret", "0"}}),
              "隐私设置参数不正确");
    EXPECT_EQ(refusedWith({{"uid", std::to_string(me + 1)},
                           {"locationSecret", "0"},
                           {"phoneSecret", "0"},
                           {"synchronizeSecret", "0"}}),
              "只能修改自己的隐私设置");
    EXPECT_TRUE(seenBy()["userView"]["location"].is_null());
}

}  // namespace zorlet::sandbox::test
