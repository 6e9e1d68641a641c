#include "SandboxFixture.h"

#include "platform/UnicodeText.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/ExternalSeed.h"
#include "sandbox/TextRules.h"
#include "sandbox/handlers/ExternalHandlers.h"

#include <set>

namespace zorlet::sandbox::test {

namespace {

class ExternalPlacesTest : public DemoSandboxTest {
protected:
    void SetUp() override {
        DemoSandboxTest::SetUp();
        client_ = std::make_unique<ApiClient>(port());
        client_->signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    }
    Answer places(httplib::Params params) { return client_->get("/post/v135/externalPostList", params); }
    // Every place of a query, page by page.
    std::vector<nlohmann::json> allPlaces(httplib::Params params) {
        std::vector<nlohmann::json> found;
        for (int page = 1; page < 50; ++page) {
            params.erase("page");
            params.emplace("page", std::to_string(page));
            auto answer = places(params);
            EXPECT_TRUE(answer.success()) << answer.text;
            if (!answer.success()) {
                break;
            }
            for (const auto& place : answer.result()["list"]) {
                found.push_back(place);
            }
            if (!answer.result()["pager"]["hasNext"].get<bool>()) {
                break;
            }
        }
        return found;
    }
    // The path of a URL the sandbox handed out.
    std::string pathOf(const std::string& url) const {
        auto prefix = "http://127.0.0.1:" + std::to_string(port());
        EXPECT_EQ(url.rfind(prefix, 0), 0u) << url;
        return url.substr(prefix.size());
    }
    nlohmann::json placeNamed(const std::string& name) {
        for (const auto& place : allPlaces({{"keyword", name}})) {
            if (place["name"] == name) {
                return place;
            }
        }
        ADD_FAILURE() << "no place named " << name;
        return {};
    }

    std::unique_ptr<ApiClient> client_;
};

}  // namespace

TEST_F(ExternalPlacesTest, CategoriesAndPlacesCoverTheSeedPageByPage) {
    auto categories = client_->get("/post/v135/externalCategoryList");
    ASSERT_TRUE(categories.success()) << categories.text;
    ASSERT_GE(categories.result().size(), 10u);
    std::set<std::int64_t> ids;
    for (const auto& category : categories.result()) {
        ids.insert(category["id"].get<std::int64_t>());
        EXPECT_FALSE(category["name"].get<std::string>().empty());
    }
    EXPECT_EQ(ids.size(), categories.result().size());

    auto first = places({{"categoryId", "0"}, {"sort", "rating"}, {"keyword", ""}});
    ASSERT_TRUE(first.success()) << first.text;
    EXPECT_EQ(first.result()["list"].size(), static_cast<size_t>(ExternalHandlers::placePageSize));
    EXPECT_TRUE(first.result()["pager"]["hasNext"].get<bool>());

    auto everything = allPlaces({{"categoryId", "0"}});
    EXPECT_GE(everything.size(), 150u);
    std::set<std::int64_t> placeIds;
    for (const auto& place : everything) {
        placeIds.insert(place["externalPostId"].get<std::int64_t>());
    }
    EXPECT_EQ(placeIds.size(), everything.size()) << "a place shows on two pages";

    // The categories split the places without overlap or loss.
    size_t byCategory = 0;
    for (auto id : ids) {
        auto ofCategory = allPlaces({{"categoryId", std::to_string(id)}});
        EXPECT_FALSE(ofCategory.empty()) << id;
        byCategory += ofCategory.size();
    }
    EXPECT_EQ(byCategory, everything.size());
}

TEST_F(ExternalPlacesTest, RatingAndDistanceOrders) {
    auto rated = allPlaces({{"sort", "rating"}});
    ASSERT_FALSE(rated.empty());
    auto ratingOf = [](const nlohmann::json& place) { return place["ratingImgUrl"].get<std::string>(); };
    // Without a position no distance is known, and "near" falls back on the rating.
    for (const auto& place : rated) {
        EXPECT_EQ(place["distance"], -1);
    }
    auto nearWithoutPosition = allPlaces({{"sort", "near"}});
    ASSERT_EQ(nearWithoutPosition.size(), rated.size());
    EXPECT_EQ(nearWithoutPosition.front()["externalPostId"], rated.front()["externalPostId"]);
    EXPECT_NE(ratingOf(rated.front()), ratingOf(rated.back()));

    // Around the centre of Shanghai the nearest places are in Shanghai, closest first.
    auto near = allPlaces({{"sort", "near"}, {"longitude", "121.473"}, {"latitude", "31.230"}});
    ASSERT_EQ(near.size(), rated.size());
    for (size_t i = 1; i < near.size(); ++i) {
        EXPECT_LE(near[i - 1]["distance"].get<std::int64_t>(), near[i]["distance"].get<std::int64_t>());
    }
    EXPECT_NE(near.front()["address"].get<std::string>().find("上海"), std::string::npos);
    EXPECT_LT(near.front()["distance"].get<std::int64_t>(), 20000);

    EXPECT_FALSE(places({{"sort", "price"}}).success());
    EXPECT_FALSE(places({{"longitude", "east"}, {"latitude", "31"}}).success());
    EXPECT_FALSE(places({{"longitude", "500"}, {"latitude", "31"}}).success());
    EXPECT_FALSE(places({{"categoryId", "-3"}}).success());
    ApiClient stranger(port());
    EXPECT_EQ(stranger.get("/post/v135/externalPostList").status, 401);
}

TEST_F(ExternalPlacesTest, KeywordsMatchNamesAddressesAndCategoriesLiterally) {
    auto short798 = placeNamed("798");
    EXPECT_NE(short798["address"].get<std::string>().find("北京"), std::string::npos);
    auto inHangzhou = allPlaces({{"keyword", "杭州"}});
    EXPECT_EQ(inHangzhou.size(), static_cast<size_t>(ExternalSeed::placesPerCity));
    // Wildcards of the database are plain characters here.
    EXPECT_TRUE(allPlaces({{"keyword", "%"}}).empty());
    EXPECT_TRUE(allPlaces({{"keyword", "_"}}).empty());
    // An overlong keyword is cut, not refused.
    EXPECT_TRUE(places({{"keyword", std::string(500, 'x')}}).success());
}

TEST_F(ExternalPlacesTest, EachPlaceHasAPagePhotoAndRatingPictures) {
    auto place = placeNamed("798");
    auto page = client_->get(pathOf(place["externalPostUrl"]));
    ASSERT_EQ(page.status, 200);
    EXPECT_NE(page.headers.find("Content-Type")->second.find("text/html"), std::string::npos);
    EXPECT_NE(page.text.find("<h1>798</h1>"), std::string::npos) << page.text;
    EXPECT_NE(page.text.find(TextRules::htmlEscape(place["address"].get<std::string>())), std::string::npos);
    EXPECT_NE(page.text.find(place["photoUrl"].get<std::string>()), std::string::npos);
    EXPECT_NE(page.text.find("评分"), std::string::npos);

    for (const char* key : {"photoUrl", "ratingImgUrl", "ratingSImgUrl"}) {
        auto picture = client_->get(pathOf(place[key]));
        ASSERT_EQ(picture.status, 200) << key;
        EXPECT_EQ(picture.text.substr(1, 3), "PNG") << key;
    }
    EXPECT_EQ(client_->get("/external/place/99999999").status, 404);
    EXPECT_EQ(client_->get("/external/photo/99999999.png").status, 404);
    EXPECT_EQ(client_->get("/external/rating/51.png").status, 404);
    EXPECT_EQ(client_->get("/external/rating/33.png").status, 404);
}

TEST_F(ExternalPlacesTest, APlaceIsSharedWithAShortNameOrALongNameAndAFullComment) {
    auto short798 = placeNamed("798");
    auto share = [&](const std::string& content, const std::string& link) {
        return client_->post("/post/sendPost", {{"content", content},
                                                {"place", short798["address"].get<std::string>()},
                                                {"link", link},
                                                {"categoryId", "0"}});
    };
    std::string link = short798["externalPostUrl"];
    auto alone = share("798", link);
    ASSERT_TRUE(alone.success()) << alone.text;
    EXPECT_EQ(alone.result()["content"], "798");

    auto longName = allPlaces({{"keyword", "屋顶花园露台"}});
    ASSERT_EQ(longName.size(), 1u);
    std::string fullComment;
    for (int i = 0; i < 50; ++i) {
        fullComment += "好";
    }
    std::string longContent = longName[0]["name"].get<std::string>() + "，" + fullComment;
    ASSERT_GT(UnicodeText::chineseLength(longContent), 160);
    EXPECT_TRUE(share(longContent, longName[0]["externalPostUrl"]).success());

    std::string tooLong;
    for (int i = 0; i < 151; ++i) {
        tooLong += "长";
    }
    EXPECT_EQ(share(tooLong, link).errorInfo(), "发布内容请控制在150字以内");
    EXPECT_FALSE(share("  ", link).success());
    // Posts of the composer keep their own limits.
    EXPECT_EQ(share("798", "").errorInfo(), "发布内容请控制在2~80字以内");
}

}  // namespace zorlet::sandbox::test
