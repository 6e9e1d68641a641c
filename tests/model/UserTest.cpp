#include "model/GeoDistance.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "session/UserContext.h"

#include "PinnedClock.h"

#include <gtest/gtest.h>

#include <numbers>

namespace zorlet {
namespace {

using test::PinnedClock;

constexpr double kHomeLatitude = 39.9;
constexpr double kHomeLongitude = 116.4;

// Signs in a user with uid 1 at the given position for the test's duration.
class SignedIn {
public:
    explicit SignedIn(double latitude = kHomeLatitude, double longitude = kHomeLongitude) {
        auto home = std::make_shared<UserHome>();
        home->user->uid = 1;
        home->updateLatitude(latitude, longitude);
        UserContext::setUserHome(home);
    }
    ~SignedIn() { UserContext::logout(); }
};

// A user `metres` due north of the signed-in home.
UserPtr userNorthOfHome(double metres, std::int64_t uid = 2) {
    auto user = std::make_shared<User>();
    user->uid = uid;
    double degrees = metres / kEarthMeanRadiusMetres * 180 / std::numbers::pi;
    user->location = {kHomeLongitude, kHomeLatitude + degrees};
    return user;
}

TEST(UserConverter, ReadsFieldsAndEmptiesWhatIsAbsentNullOrMistyped) {
    auto user = User::convertFromDictionary(Json::parse(R"({
        "uid": 42, "nickname": "小明", "gender": 1, "newLogo": "http://x/new.jpg", "hasLogo": true,
        "birthYear": 1990, "profession": null, "constellation": ["not", "text"], "tokenExpired": null,
        "onlineStatus": 2, "hasGuided": 1, "tpId": 6, "tpName": "weibo", "interestMeCount": {"a": 1}
    })"));
    EXPECT_EQ(user->uid, 42);
    EXPECT_EQ(user->nickname, "小明");
    EXPECT_EQ(user->gender, 1);
    EXPECT_EQ(user->rawLogo, "http://x/new.jpg");
    EXPECT_TRUE(user->hasLogo);
    EXPECT_EQ(user->birthYear, 1990);
    EXPECT_EQ(user->profession, "");
    EXPECT_EQ(user->constellation, "");
    EXPECT_FALSE(user->tokenExpired);
    EXPECT_EQ(user->onlineStatus, 2);
    EXPECT_EQ(user->interestMeCount, 0);
    EXPECT_TRUE(user->location.empty());
    EXPECT_EQ(user->post, nullptr);
    EXPECT_FALSE(user->isBeDated);
    EXPECT_EQ(user->objIdentity(), 42);

    auto fromNothing = User::convertFromDictionary(Json("not an object"));
    EXPECT_EQ(fromNothing->uid, 0);
    EXPECT_EQ(fromNothing->nickname, "");
}

TEST(UserConverter, AnUpdateEmptiesWhatTheNewDictionaryLeavesOut) {
    auto user = User::convertFromDictionary(
        Json::parse(R"({"uid": 7, "nickname": "小红", "cityName": "北京", "postCount": 3})"));
    user->updateFromDictionary(Json::parse(R"({"uid": 7, "postCount": "4", "unknown": 1})"));
    EXPECT_EQ(user->uid, 7);
    EXPECT_EQ(user->postCount, 4);
    EXPECT_EQ(user->nickname, "");
    EXPECT_EQ(user->cityName, "");
}

TEST(UserConverter, TakesLocationOnlyAsAListOfExactlyTwoNumbers) {
    struct Case {
        const char* json;
        std::vector<double> expected;
    };
    const Case cases[] = {
        {R"({"location": [116.4, 39.9]})", {116.4, 39.9}},
        {R"({"location": [116, 40]})", {116, 40}},
        {R"({"location": [116.4, 39.9, 1]})", {}},
        {R"({"location": [116.4]})", {}},
        {R"({"location": null})", {}},
        {R"({"location": "116.4,39.9"})", {}},
        {R"({"location": {"0": 116.4, "1": 39.9}})", {}},
        {R"({"location": ["a", "b"]})", {}},
        {R"({})", {}},
    };
    for (const auto& c : cases) {
        auto user = User::convertFromDictionary(Json::parse(c.json));
        EXPECT_EQ(user->location, c.expected) << c.json;
    }

    // An update with an unusable location keeps the one the user had.
    auto user = User::convertFromDictionary(Json::parse(R"({"location": [1.5, 2.5]})"));
    user->updateFromDictionary(Json::parse(R"({"location": [1, 2, 3]})"));
    EXPECT_EQ(user->location, (std::vector<double>{1.5, 2.5}));
    user->updateFromDictionary(Json::parse(R"({"location": [3.5, 4.5]})"));
    EXPECT_EQ(user->location, (std::vector<double>{3.5, 4.5}));
}

TEST(UserConverter, ReadsThePostOnlyThroughConvert) {
    auto user = User::convertFromDictionary(
        Json::parse(R"({"uid": 5, "postView": {"postId": 77, "purpose": "看电影"}})"));
    ASSERT_NE(user->post, nullptr);
    EXPECT_EQ(user->post->postId, 77);
    EXPECT_EQ(user->post->purpose, "看电影");

    PostPtr original = user->post;
    user->updateFromDictionary(Json::parse(R"({"uid": 5, "postView": {"postId": 99}})"));
    EXPECT_EQ(user->post, original);
    EXPECT_EQ(user->post->postId, 77);

    for (const char* json : {R"({"postView": null})", R"({"postView": "x"})", R"({"postView": [1]})"}) {
        EXPECT_EQ(User::convertFromDictionary(Json::parse(json))->post, nullptr) << json;
    }
}

TEST(UserCopy, DeepCopiesLocationSharesPostAndForgetsTheInvitation) {
    auto user = User::convertFromDictionary(
        Json::parse(R"({"uid": 8, "nickname": "阿花", "location": [1, 2], "postView": {"postId": 3}})"));
    user->isBeDated = true;
    auto copy = user->copy();
    EXPECT_NE(copy, user);
    EXPECT_EQ(copy->uid, 8);
    EXPECT_EQ(copy->nickname, "阿花");
    EXPECT_EQ(copy->post, user->post);
    EXPECT_FALSE(copy->isBeDated);
    copy->location[0] = 9;
    EXPECT_EQ(user->location[0], 1);
}

TEST(UserTexts, BasicInfoShowsPositiveAgesAndProfessions) {
    PinnedClock clock({.year = 2013, .month = 6, .day = 1, .hour = 12});
    struct Case {
        std::int64_t birthYear;
        const char* profession;
        const char* expected;
    };
    const Case cases[] = {
        {1988, "教师", "25岁 教师"}, {1988, "", "25岁 "}, {0, "教师", "教师"},
        {2013, "教师", "教师"},      {2020, "", ""},      {2012, "学生", "1岁 学生"},
    };
    for (const auto& c : cases) {
        User user;
        user.birthYear = c.birthYear;
        user.profession = c.profession;
        EXPECT_EQ(user.basicInfo(), c.expected) << c.birthYear << " " << c.profession;
    }
}

TEST(UserTexts, BasicInfoWithDistanceJoinsEveryPartThatIsThere) {
    PinnedClock clock({.year = 2013, .month = 6, .day = 1});
    SignedIn signedIn;
    auto user = userNorthOfHome(1234);
    user->birthYear = 1990;
    user->constellation = "天蝎座";
    user->profession = "设计师";
    EXPECT_EQ(user->basicInfoWithDistance(), "1.2km 23岁 天蝎座 设计师");
    user->constellation = "";
    EXPECT_EQ(user->basicInfoWithDistance(), "1.2km 23岁 设计师");
    user->birthYear = 0;
    user->profession = "";
    EXPECT_EQ(user->basicInfoWithDistance(), "1.2km ");
    user->location.clear();
    EXPECT_EQ(user->basicInfoWithDistance(), "");
    user->constellation = "白羊座";
    EXPECT_EQ(user->basicInfoWithDistance(), "白羊座 ");
}

TEST(UserDistance, TextTruncatesToHundredsOfMetres) {
    struct Case {
        double metres;
        const char* expected;
    };
    const Case cases[] = {
        {0, "<0.1km"},        {99, "<0.1km"},      {99.999, "<0.1km"}, {100, "0.1km"},
        {199.9, "0.1km"},     {1234, "1.2km"},     {99950, "99.9km"},  {99999, "99.9km"},
        {99999.99, "99.9km"}, {100000, ">99.9km"}, {2e7, ">99.9km"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(User::distanceText(c.metres), c.expected) << c.metres;
    }
}

TEST(UserDistance, FromTheSignedInUsersHome) {
    SignedIn signedIn;
    // Positions a millimetre inside each boundary, so rounding of the formula cannot cross it.
    struct Case {
        double metres;
        const char* expected;
    };
    const Case cases[] = {
        {0, "<0.1km"}, {99, "<0.1km"}, {100.001, "0.1km"}, {99998.999, "99.9km"}, {100000.001, ">99.9km"},
    };
    for (const auto& c : cases) {
        auto user = userNorthOfHome(c.metres);
        EXPECT_TRUE(user->hasDistance());
        EXPECT_EQ(user->distanceFromCurrentUser(), c.expected) << c.metres;
    }

    // [longitude, latitude]: 0.01° of longitude at 39.9° north is about 853 m.
    auto user = User::convertFromDictionary(Json::parse(R"({"uid": 3, "location": [116.41, 39.9]})"));
    EXPECT_EQ(user->distanceFromCurrentUser(), "0.8km");
}

TEST(UserDistance, NoneForOneselfUnknownPositionsOrNobodySignedIn) {
    EXPECT_EQ(userNorthOfHome(500)->distanceFromCurrentUser(), "");  // nobody signed in
    {
        SignedIn signedIn;
        EXPECT_FALSE(userNorthOfHome(500, /*uid=*/1)->hasDistance());
        auto noLocation = userNorthOfHome(500);
        noLocation->location.clear();
        EXPECT_EQ(noLocation->distanceFromCurrentUser(), "");
        auto threeValues = User::convertFromDictionary(Json::parse(R"({"uid": 3, "location": [1, 2, 3]})"));
        EXPECT_EQ(threeValues->distanceFromCurrentUser(), "");
    }
    {
        SignedIn signedIn(0, kHomeLongitude);
        EXPECT_EQ(userNorthOfHome(500)->distanceFromCurrentUser(), "");
    }
    {
        SignedIn signedIn(kHomeLatitude, 0);
        EXPECT_EQ(userNorthOfHome(500)->basicInfoWithDistance(), "");
    }
}

TEST(GeoDistance, MatchesKnownGreatCircleDistances) {
    // One degree along the equator, a quarter meridian, and Beijing to Shanghai (about 1067 km).
    EXPECT_NEAR(geodesicDistanceMetres(0, 0, 0, 1), 111195.08, 0.01);
    EXPECT_NEAR(geodesicDistanceMetres(0, 0, 90, 0), 10007557.2, 0.1);
    EXPECT_NEAR(geodesicDistanceMetres(39.9042, 116.4074, 31.2304, 121.4737), 1067e3, 2e3);
    EXPECT_NEAR(geodesicDistanceMetres(10, 20, -10, -160), std::numbers::pi * kEarthMeanRadiusMetres, 1);
}

TEST(UserTexts, OnlineStatusAndPlatformName) {
    struct Case {
        std::int64_t status;
        const char* text;
        Color color;
    };
    const Case cases[] = {
        {0, "当前在线", {0.18, 0.7, 0.25, 1}},
        {1, "今日来访", {1.0, 0.6, 0.0, 1}},
        {2, "近期来访", {0.8, 0.8, 0.8, 1}},
        {3, "", {1, 1, 1, 1}},
        {-1, "", {1, 1, 1, 1}},
    };
    for (const auto& c : cases) {
        User user;
        user.onlineStatus = c.status;
        EXPECT_EQ(user.onlineText(), c.text) << c.status;
        EXPECT_EQ(user.onlineTextColor(), c.color) << c.status;
    }

    User user;
    for (auto [name, expected] : {std::pair{"weibo", "新浪微博"}, {"douban", "豆瓣社区"}, {"qq", "QQ"}}) {
        user.tpName = name;
        EXPECT_EQ(user.tpChineseName(), expected);
    }
    for (const char* other : {"", "Weibo", "renren"}) {
        user.tpName = other;
        EXPECT_EQ(user.tpChineseName(), std::nullopt) << other;
    }
}

TEST(UserContext, AnswersWhoIsSignedIn) {
    UserContext::logout();
    EXPECT_EQ(UserContext::getUid(), 0);
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_FALSE(UserContext::hasCompleteGuide());
    EXPECT_EQ(UserContext::getUser(), nullptr);

    UserContext::setUserHome(UserHome::convertFromDictionary(
        Json::parse(R"({"userView": {"uid": 12, "hasGuided": 1}, "latitude": 30})")));
    EXPECT_EQ(UserContext::getUid(), 12);
    EXPECT_TRUE(UserContext::hasLogin());
    EXPECT_TRUE(UserContext::hasCompleteGuide());
    EXPECT_EQ(UserContext::getUser(), UserContext::getUserHome()->user);
    EXPECT_EQ(&UserContext::sharedUserContext(), &UserContext::sharedUserContext());

    UserContext::getUser()->hasGuided = 0;
    EXPECT_FALSE(UserContext::hasCompleteGuide());
    UserContext::logout();
    EXPECT_FALSE(UserContext::hasLogin());
    EXPECT_EQ(UserContext::getUserHome(), nullptr);
}

}  // namespace
}  // namespace zorlet
