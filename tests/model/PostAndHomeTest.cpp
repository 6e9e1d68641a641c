#include "model/IdeaUser.h"
#include "model/Post.h"
#include "model/UserHome.h"

#include "PinnedClock.h"

#include <gtest/gtest.h>

#include <limits>

namespace zorlet {
namespace {

TEST(PostConverter, ReadsFieldsAndDerivedFlags) {
    auto post = Post::convertFromDictionary(Json::parse(R"({
        "postId": 31, "purpose": "爬山", "content": "周末去香山", "place": "香山", "cityName": "北京",
        "categoryId": 6, "categoryName": "户外", "date": "06-08 周六", "respCnt": 3, "hasResp": 1,
        "createUid": 9, "ideaId": 0, "link": null, "picFileName": "a.jpg"
    })"));
    EXPECT_EQ(post->objIdentity(), 31);
    EXPECT_EQ(post->content, "周末去香山");
    EXPECT_EQ(post->categoryId, 6);
    EXPECT_EQ(post->createUid, 9);
    EXPECT_EQ(post->link, "");
    EXPECT_TRUE(post->hasPlace());
    EXPECT_TRUE(post->hasTime());
    EXPECT_TRUE(post->hasCategory());
    EXPECT_TRUE(post->hasRespPersons());
    EXPECT_EQ(post->fullPlace(), "北京 香山");

    // Refreshing in place overwrites every field, emptying what the answer lacks.
    post->updateFromDictionary(Json::parse(R"({"postId": 31, "respCnt": 0})"));
    EXPECT_EQ(post->content, "");
    EXPECT_FALSE(post->hasPlace());
    EXPECT_FALSE(post->hasTime());
    EXPECT_FALSE(post->hasCategory());
    EXPECT_FALSE(post->hasRespPersons());
}

TEST(PostConverter, FullPlaceNeedsAPlace) {
    struct Case {
        const char* place;
        const char* city;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {"", "上海", std::nullopt},    {"", "", std::nullopt}, {"外滩", "", "外滩"},
        {"外滩", "上海", "上海 外滩"}, {" ", "", " "},
    };
    for (const auto& c : cases) {
        Post post;
        post.place = c.place;
        post.cityName = c.city;
        EXPECT_EQ(post.fullPlace(), c.expected) << c.place << "|" << c.city;
    }
    for (const char* json : {R"({})", R"({"respCnt": null})", R"({"respCnt": -2})", R"({"respCnt": "x"})"}) {
        EXPECT_FALSE(Post::convertFromDictionary(Json::parse(json))->hasRespPersons()) << json;
    }
}

TEST(UserHomeConverter, AppliesTheUserViewAndRebuildsPreferences) {
    auto home = UserHome::convertFromDictionary(Json::parse(R"({
        "userView": {"uid": 4, "nickname": "小李", "postView": {"postId": 1}},
        "preferenceViews": [{"preferenceId": 2, "title": "喜欢的活动"}, {"preferenceId": 5}],
        "registerTime": 1370000000, "longitude": 121.5, "latitude": 31.2,
        "phoneType": "iPhone 5", "userPlace": "徐家汇", "socialLink": "http://weibo.com/x",
        "locationSecret": true, "phoneSecret": 1, "synchronizeSecret": false, "socialSecret": null
    })"));
    EXPECT_EQ(home->objIdentity(), 4);
    EXPECT_EQ(home->user->nickname, "小李");
    EXPECT_EQ(home->user->post, nullptr);  // a home's user never reads postView
    ASSERT_EQ(home->preferences.size(), 2u);
    EXPECT_EQ(home->preferences[0]->preferendeId, 2);
    EXPECT_EQ(home->preferences[1]->preferendeId, 5);
    EXPECT_EQ(home->registerTime, 1370000000);
    EXPECT_DOUBLE_EQ(home->longitude, 121.5);
    EXPECT_DOUBLE_EQ(home->latitude, 31.2);
    EXPECT_EQ(home->phoneType, "iPhone 5");
    EXPECT_TRUE(home->locationSecret);
    EXPECT_TRUE(home->phoneSecret);
    EXPECT_FALSE(home->synchronizeSecret);
    EXPECT_FALSE(home->socialSecret);

    UserPtr sameUser = home->user;
    home->updateFromDictionary(
        Json::parse(R"({"userView": {"uid": 4, "nickname": "老李"}, "latitude": null})"));
    EXPECT_EQ(home->user, sameUser);
    EXPECT_EQ(home->user->nickname, "老李");
    EXPECT_TRUE(home->preferences.empty());
    EXPECT_EQ(home->registerTime, 0);
    EXPECT_DOUBLE_EQ(home->latitude, 31.2);  // absent or null coordinates keep their value
    EXPECT_DOUBLE_EQ(home->longitude, 121.5);
    EXPECT_FALSE(home->locationSecret);

    home->updateFromDictionary(Json::parse(R"({"longitude": "east", "latitude": 0})"));
    EXPECT_DOUBLE_EQ(home->longitude, 121.5);
    EXPECT_DOUBLE_EQ(home->latitude, 0);
    EXPECT_EQ(home->user->nickname, "老李");  // a home answer without a user keeps the user

    home->updateLatitude(22.5, 114.1);
    EXPECT_DOUBLE_EQ(home->latitude, 22.5);
    EXPECT_DOUBLE_EQ(home->longitude, 114.1);

    auto empty = UserHome::convertFromDictionary(Json::array());
    ASSERT_NE(empty->user, nullptr);
    EXPECT_EQ(empty->objIdentity(), 0);
}

TEST(UserHomeConverter, RegisterDayInTheClocksZone) {
    test::PinnedClock clock({.year = 2013, .month = 6, .day = 1});
    UserHome home;
    home.registerTime = 1356969600;  // 2012-12-31 16:00 UTC, already 2013-01-01 in Shanghai
    EXPECT_EQ(home.registerTimeText(), "2013.01.01");
    home.registerTime = std::numeric_limits<std::int64_t>::max();
    EXPECT_FALSE(home.registerTimeText().empty());
}

TEST(IdeaUserConverter, ConvertsUserWithPostAndMilliseconds) {
    auto ideaUser = IdeaUser::convertFromDictionary(Json::parse(R"({
        "ideaId": 17, "createTime": 5000, "userView": {"uid": 23, "postView": {"postId": 4}}
    })"));
    EXPECT_EQ(ideaUser->ideaId, 17);
    EXPECT_DOUBLE_EQ(ideaUser->createTime, 5.0);
    EXPECT_EQ(ideaUser->objIdentity(), 23);
    ASSERT_NE(ideaUser->user->post, nullptr);
    EXPECT_EQ(ideaUser->user->post->postId, 4);

    auto bare = IdeaUser::convertFromDictionary(Json::parse(R"({"userView": null, "createTime": "soon"})"));
    ASSERT_NE(bare->user, nullptr);
    EXPECT_EQ(bare->objIdentity(), 0);
    EXPECT_DOUBLE_EQ(bare->createTime, 0);
}

}  // namespace
}  // namespace zorlet
