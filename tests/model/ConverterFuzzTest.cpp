#include "model/Category.h"
#include "model/City.h"
#include "model/IdeaUser.h"
#include "model/Option.h"
#include "model/Post.h"
#include "model/Preference.h"
#include "model/Profession.h"
#include "model/Province.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "session/UserContext.h"

#include <gtest/gtest.h>

#include <chrono>
#include <limits>
#include <random>

namespace zorlet {
namespace {

// Every member name the converters read, so random objects hit real fields.
const char* const kKeys[] = {"uid",
                             "nickname",
                             "gender",
                             "logo",
                             "smallLogo",
                             "bigLogo",
                             "originalLogo",
                             "newLogo",
                             "logoVerifyState",
                             "hasLogo",
                             "birthYear",
                             "birthMonth",
                             "birthDay",
                             "constellation",
                             "professionId",
                             "profession",
                             "provinceId",
                             "provinceName",
                             "cityId",
                             "cityName",
                             "townId",
                             "townName",
                             "feature",
                             "interestUserCount",
                             "interestMeCount",
                             "postCount",
                             "hasGuided",
                             "hasInterest",
                             "tpId",
                             "tpName",
                             "tokenExpired",
                             "onlineStatus",
                             "location",
                             "postView",
                             "postId",
                             "purpose",
                             "content",
                             "place",
                             "pic",
                             "bigPic",
                             "categoryId",
                             "categoryName",
                             "ideaId",
                             "date",
                             "respCnt",
                             "hasResp",
                             "createUid",
                             "link",
                             "picFileName",
                             "userView",
                             "preferenceViews",
                             "registerTime",
                             "longitude",
                             "latitude",
                             "phoneType",
                             "userPlace",
                             "socialLink",
                             "locationSecret",
                             "phoneSecret",
                             "synchronizeSecret",
                             "socialSecret",
                             "createTime",
                             "preferenceId",
                             "title",
                             "displayAnswer",
                             "description",
                             "tip",
                             "inputType",
                             "openDescription",
                             "answer",
                             "options",
                             "minValidationValue",
                             "maxValidationValue",
                             "name",
                             "value",
                             "icon",
                             "12"};

const char* const kSample = R"({
    "uid": 7, "nickname": "小王", "birthYear": 1990, "location": [116.4, 39.9], "onlineStatus": 1,
    "tpName": "qq", "profession": "工程师", "constellation": "巨蟹座",
    "postView": {"postId": 3, "place": "三里屯", "cityName": "北京", "respCnt": 2},
    "userView": {"uid": 8, "location": [121.4, 31.2]},
    "preferenceViews": [{"preferenceId": 1, "answer": ["0"], "options": [{"name": "a", "value": 0}],
                         "openDescription": true, "description": "补充", "displayAnswer": "a"}],
    "longitude": 116.3, "latitude": 39.8, "registerTime": 1370000000, "createTime": 1370000000000,
    "categoryId": 2, "name": "电影", "icon": "ca_movie", "provinceId": 11, "cityId": 1101
})";

class JsonFuzzer {
public:
    explicit JsonFuzzer(unsigned seed) : random_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random_); }

    Json scalar() {
        switch (below(14)) {
            case 0:
                return nullptr;
            case 1:
                return below(2) == 0;
            case 2:
                return below(200) - 100;
            case 3:
                return std::numeric_limits<std::int64_t>::min();
            case 4:
                return std::numeric_limits<std::int64_t>::max();
            case 5:
                return std::numeric_limits<std::uint64_t>::max();
            case 6:
                return std::uniform_real_distribution<double>(-1e300, 1e300)(random_);
            case 7:
                return std::numeric_limits<double>::max();
            case 8:
                return -0.0;
            case 9:
                return "";
            case 10:
                return std::to_string(below(1000000) - 500000);
            case 11:
                return "1e999";
            case 12:
                return std::string(static_cast<std::size_t>(below(40)), "中a😀 "[below(4)]);
            default:
                return std::string("北京");
        }
    }

    Json value(int depth) {
        int kind = depth <= 0 ? 0 : below(6);
        if (kind <= 2) {
            return scalar();
        }
        if (kind == 3) {
            Json list = Json::array();
            for (int i = below(4); i > 0; --i) {
                list.push_back(value(depth - 1));
            }
            return list;
        }
        return object(depth - 1);
    }

    Json object(int depth) {
        Json object = Json::object();
        for (int i = below(12); i > 0; --i) {
            object[kKeys[below(std::size(kKeys))]] = value(depth);
        }
        return object;
    }

    // The sample with a few members replaced, removed or nested objects swapped.
    Json mutate(Json json, int edits) {
        for (int i = 0; i < edits; ++i) {
            Json* target = &json;
            for (const char* nested : {"postView", "userView"}) {
                if (below(3) == 0 && target->is_object() && target->contains(nested)) {
                    target = &(*target)[nested];
                }
            }
            if (!target->is_object()) {
                continue;
            }
            const char* key = kKeys[below(std::size(kKeys))];
            if (below(4) == 0) {
                target->erase(key);
            } else {
                (*target)[key] = value(2);
            }
        }
        return json;
    }

private:
    std::mt19937 random_;
};

// Reads everything a screen would read from each record.
void exercise(const Json& json) {
    auto user = User::convertFromDictionary(json);
    (void)user->basicInfo();
    (void)user->basicInfoWithDistance();
    (void)user->onlineText();
    (void)user->onlineTextColor();
    (void)user->tpChineseName();
    auto copy = user->copy();
    copy->updateFromDictionary(json);
    if (user->post) {
        (void)user->post->fullPlace();
    }

    auto post = Post::convertFromDictionary(json);
    (void)post->fullPlace();
    (void)post->hasRespPersons();

    auto home = UserHome::convertFromDictionary(json);
    home->updateFromDictionary(json);
    (void)home->registerTimeText();
    for (auto& preference : home->preferences) {
        (void)preference->finalDisplayAnswer();
    }

    auto ideaUser = IdeaUser::convertFromDictionary(json);
    (void)ideaUser->user->distanceFromCurrentUser();

    auto preference = Preference::convertFromDictionary(json);
    (void)preference->copy()->finalDisplayAnswer();
    (void)Option::convertFromDictionary(json)->objIdentity();
    (void)Category::convertFromDictionary(json)->objIdentity();
    (void)Province::convertFromDictionary(json)->objIdentity();
    (void)City::convertFromDictionary(json)->objIdentity();
    (void)Profession::convertFromDictionary(json)->objIdentity();
    (void)Profession::convertFromDictionary(OrderedJson(json))->objIdentity();
}

TEST(ConverterFuzz, RandomAndMutatedJsonNeverBreaksAConverter) {
    // A signed-in user with a position, so distances are computed for every converted user.
    auto signedIn = UserHome::convertFromDictionary(
        Json::parse(R"({"userView": {"uid": 1}, "latitude": 39.9, "longitude": 116.4})"));
    UserContext::setUserHome(signedIn);

    JsonFuzzer fuzzer(20130601);
    const Json sample = Json::parse(kSample);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    int rounds = 0;
    for (; rounds < 3000 && std::chrono::steady_clock::now() < deadline; ++rounds) {
        exercise(fuzzer.mutate(sample, 1 + fuzzer.below(6)));
        exercise(fuzzer.object(3));
        if (rounds % 10 == 0) {
            exercise(fuzzer.value(2));  // not even an object
        }
    }
    UserContext::logout();
    RecordProperty("rounds", rounds);
    EXPECT_GT(rounds, 300);
}

}  // namespace
}  // namespace zorlet
