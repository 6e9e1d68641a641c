#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"
#include "sandbox/IdeaSeed.h"
#include "sandbox/TextRules.h"

#include <set>

namespace zorlet::sandbox::test {

namespace {

// Every idea of a list, page by page, checking the pager on the way.
std::vector<nlohmann::json> allIdeas(ApiClient& client, httplib::Params params) {
    std::vector<nlohmann::json> ideas;
    for (int page = 1; page < 30; ++page) {
        params.erase("page");
        params.emplace("page", std::to_string(page));
        auto answer = client.get("/idea/allIdeas", params);
        EXPECT_TRUE(answer.success()) << answer.text;
        if (!answer.success()) {
            break;
        }
        for (const auto& idea : answer.result()["list"]) {
            ideas.push_back(idea);
        }
        const auto& pager = answer.result()["pager"];
        if (!pager["hasNext"].get<bool>()) {
            EXPECT_EQ(pager["totalResults"].get<size_t>(), ideas.size());
            break;
        }
    }
    return ideas;
}

class IdeaSandboxTest : public DemoSandboxTest {
protected:
    void SetUp() override {
        DemoSandboxTest::SetUp();
        client_ = std::make_unique<ApiClient>(port());
        me_ = client_->signIn(DemoSeed::demoAccount, DemoSeed::demoPassword)["userView"]["uid"];
    }
    // The idea with the most takers.
    nlohmann::json hottest() {
        auto answer = client_->get("/idea/allIdeas", {{"orderType", "pop"}});
        EXPECT_TRUE(answer.success()) << answer.text;
        return answer.result()["list"][0];
    }
    nlohmann::json show(std::int64_t ideaId) {
        auto answer = client_->get("/idea/showIdea", {{"ideaId", std::to_string(ideaId)}});
        EXPECT_TRUE(answer.success()) << answer.text;
        return answer.success() ? answer.result() : nlohmann::json();
    }

    std::unique_ptr<ApiClient> client_;
    std::int64_t me_ = 0;
};

}  // namespace

TEST_F(IdeaSandboxTest, TheListPagesThroughEveryCategoryInBothOrders) {
    auto newest = allIdeas(*client_, {{"orderType", "time"}});
    ASSERT_GE(newest.size(), static_cast<size_t>(IdeaSeed::ideaCount));
    std::set<std::int64_t> ids;
    std::set<std::int64_t> categories;
    std::set<std::string> cities;
    int withTime = 0;
    for (const auto& idea : newest) {
        ids.insert(idea["ideaId"].get<std::int64_t>());
        categories.insert(idea["categoryId"].get<std::int64_t>());
        cities.insert(idea["cityName"].get<std::string>());
        withTime += idea["startTime"] != "" || idea["endTime"] != "";
        EXPECT_TRUE(idea["bigPic"].is_string()) << idea.dump();
        EXPECT_FALSE(idea["hasUsed"].get<bool>());
    }
    EXPECT_EQ(ids.size(), newest.size()) << "an idea came twice";
    EXPECT_EQ(categories.size(), 12u);
    EXPECT_GE(cities.size(), 4u);
    EXPECT_GT(withTime, 0);
    EXPECT_LT(withTime, static_cast<int>(newest.size()));

    auto hot = allIdeas(*client_, {{"orderType", "pop"}});
    ASSERT_EQ(hot.size(), newest.size());
    for (size_t i = 1; i < hot.size(); ++i) {
        EXPECT_GE(hot[i - 1]["useCount"].get<int>(), hot[i]["useCount"].get<int>()) << "position " << i;
    }

    auto food = allIdeas(*client_, {{"categoryId", "1"}, {"orderType", "time"}});
    EXPECT_GE(food.size(), 5u);
    for (const auto& idea : food) {
        EXPECT_EQ(idea["categoryId"], 1);
        EXPECT_EQ(idea["categoryName"], "美食");
    }

    // The picture is served back as a real PNG.
    httplib::Client pictures("127.0.0.1", port());
    auto url = newest[0]["bigPic"].get<std::string>();
    auto picture = pictures.Get(url.substr(url.find('/', 7)));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    EXPECT_EQ(picture->body.substr(1, 3), "PNG");

    EXPECT_FALSE(client_->get("/idea/allIdeas", {{"orderType", "rand"}}).success());
    EXPECT_FALSE(client_->get("/idea/allIdeas", {{"categoryId", "x"}}).success());
    ApiClient stranger(port());
    EXPECT_EQ(stranger.get("/idea/allIdeas").status, 401);
}

TEST_F(IdeaSandboxTest, WantingToGoCountsOncePerUserAndMakesAPost) {
    auto idea = hottest();
    auto ideaId = idea["ideaId"].get<std::int64_t>();
    auto before = idea["useCount"].get<int>();

    auto marked = client_->post("/post/sendPost", {{"ideaId", std::to_string(ideaId)}});
    ASSERT_TRUE(marked.success()) << marked.text;
    EXPECT_EQ(marked.result()["ideaId"], ideaId);
    EXPECT_EQ(marked.result()["content"], idea["content"]);
    EXPECT_EQ(marked.result()["createUid"], me_);
    auto shown = show(ideaId);
    EXPECT_EQ(shown["useCount"], before + 1);
    EXPECT_TRUE(shown["hasUsed"].get<bool>());

    // The post made from the idea is the user's latest one in the feeds.
    auto feed = client_->get("/post/v134/userPosts", {{"orderType", "new"}});
    ASSERT_TRUE(feed.success());
    EXPECT_EQ(feed.result()["list"][0]["uid"], me_);
    EXPECT_EQ(feed.result()["list"][0]["postView"]["ideaId"], ideaId);

    // It carries the idea's poster and a link to the idea's page, which the
    // detail screen needs to offer the idea at all.
    const auto& post = feed.result()["list"][0]["postView"];
    ASSERT_TRUE(post["bigPic"].is_string()) << post.dump();
    EXPECT_EQ(post["bigPic"], idea["bigPic"]);
    ASSERT_TRUE(post["link"].is_string()) << post.dump();
    auto link = post["link"].get<std::string>();
    auto suffix = "/idea/" + std::to_string(ideaId);
    ASSERT_TRUE(link.starts_with("http://127.0.0.1:") && link.ends_with(suffix)) << link;
    EXPECT_EQ(marked.result()["link"], link);
    auto page = client_->get(link.substr(link.find('/', 7)));
    EXPECT_EQ(page.status, 200);
    auto type = page.headers.find("Content-Type");
    ASSERT_NE(type, page.headers.end());
    EXPECT_TRUE(type->second.starts_with("text/html")) << type->second;
    EXPECT_NE(page.text.find("<h1>" + TextRules::htmlEscape(idea["content"].get<std::string>()) + "</h1>"),
              std::string::npos)
        << page.text;
    EXPECT_NE(page.text.find(TextRules::htmlEscape(idea["bigPic"].get<std::string>())), std::string::npos);
    EXPECT_EQ(client_->get("/idea/999999").status, 404);

    auto again = client_->post("/post/sendPost", {{"ideaId", std::to_string(ideaId)}});
    EXPECT_FALSE(again.success());
    EXPECT_EQ(again.errorInfo(), "你已经想去这个好主意了");
    EXPECT_EQ(show(ideaId)["useCount"], before + 1);

    for (const char* bad : {"999999", "0", "abc"}) {
        auto refused = client_->post("/post/sendPost", {{"ideaId", bad}});
        EXPECT_EQ(refused.status, 200) << bad;
        EXPECT_FALSE(refused.success()) << bad;
        EXPECT_NE(refused.body.value("errorCode", 0), 100500) << bad;
        EXPECT_FALSE(refused.errorInfo().empty()) << bad;
    }
    EXPECT_EQ(client_->get("/idea/showIdea", {{"ideaId", "999999"}}).errorInfo(), "这个好主意已经不存在了");
}

TEST_F(IdeaSandboxTest, TakersArePagedAndFilteredByCityAndGender) {
    auto idea = hottest();
    auto ideaId = std::to_string(idea["ideaId"].get<std::int64_t>());
    auto first = client_->get("/idea/users", {{"ideaId", ideaId}, {"page", "0"}});
    ASSERT_TRUE(first.success()) << first.text;
    auto total = first.result()["pager"]["totalResults"].get<int>();
    EXPECT_EQ(total, idea["useCount"].get<int>());
    EXPECT_TRUE(first.result()["pager"]["hasNext"].get<bool>());
    EXPECT_EQ(first.result()["pager"]["currentPage"], 1);
    const auto& taker = first.result()["list"][0];
    EXPECT_EQ(taker["ideaId"].dump(), ideaId);
    EXPECT_TRUE(taker["userView"]["uid"].is_number());

    int women =
        client_->get("/idea/users", {{"ideaId", ideaId}, {"gender", "0"}}).result()["pager"]["totalResults"];
    int men =
        client_->get("/idea/users", {{"ideaId", ideaId}, {"gender", "1"}}).result()["pager"]["totalResults"];
    EXPECT_EQ(women + men, total);
    EXPECT_GT(women, 0);
    EXPECT_GT(men, 0);
    auto everyone = client_->get("/idea/users", {{"ideaId", ideaId}, {"gender", "2"}});
    EXPECT_EQ(everyone.result()["pager"]["totalResults"], total);

    auto city = taker["userView"]["cityId"].dump();
    auto sameCity = client_->get("/idea/users", {{"ideaId", ideaId}, {"cityId", city}});
    ASSERT_TRUE(sameCity.success());
    EXPECT_GT(sameCity.result()["pager"]["totalResults"].get<int>(), 0);
    EXPECT_LT(sameCity.result()["pager"]["totalResults"].get<int>(), total);
    for (const auto& row : sameCity.result()["list"]) {
        EXPECT_EQ(row["userView"]["cityId"].dump(), city);
    }

    EXPECT_FALSE(client_->get("/idea/users", {{"ideaId", "999999"}}).success());
    EXPECT_FALSE(client_->get("/idea/users", {{"ideaId", ideaId}, {"gender", "5"}}).success());
}

TEST_F(IdeaSandboxTest, LocationSharingAndInvitingATaker) {
    auto idea = hottest();
    auto ideaId = std::to_string(idea["ideaId"].get<std::int64_t>());
    auto location = client_->get("/idea/v133/location", {{"ideaId", ideaId}});
    ASSERT_TRUE(location.success()) << location.text;
    ASSERT_EQ(location.result().size(), 2u);
    EXPECT_NEAR(location.result()[0].get<double>(), 116.4, 0.1);  // longitude first
    EXPECT_NEAR(location.result()[1].get<double>(), 39.9, 0.1);
    EXPECT_FALSE(client_->get("/idea/v133/location", {{"ideaId", "999999"}}).success());

    EXPECT_TRUE(
        client_->post("/idea/shareIdea", {{"ideaId", ideaId}, {"content", "想一起去么？"}}).success());
    EXPECT_FALSE(client_->post("/idea/shareIdea", {{"ideaId", ideaId}, {"content", "  "}}).success());
    EXPECT_FALSE(client_->post("/idea/shareIdea", {{"ideaId", "999999"}, {"content", "去"}}).success());

    auto seeded = control().messagesFrom(me_).size();  // the demo account's own conversations
    auto takers = client_->get("/idea/users", {{"ideaId", ideaId}});
    auto target = takers.result()["list"][0]["userView"]["uid"].get<std::int64_t>();
    auto sent =
        client_->post("/dialog/v133/sendDate", {{"ideaId", ideaId}, {"targetUid", std::to_string(target)}});
    ASSERT_TRUE(sent.success()) << sent.text;
    auto messages = control().messagesFrom(me_);
    ASSERT_EQ(messages.size(), seeded + 1);
    EXPECT_EQ(messages.back().toUid, target);
    EXPECT_NE(messages.back().content.find(idea["content"].get<std::string>()), std::string::npos);

    // A text invitation of one's own (from another user's home) arrives as written.
    auto text = client_->post("/dialog/v133/sendDate",
                              {{"content", "周末一起爬山吧"}, {"targetUid", std::to_string(target)}});
    EXPECT_TRUE(text.success()) << text.text;
    EXPECT_EQ(control().messagesFrom(me_).back().content, "周末一起爬山吧");

    EXPECT_EQ(client_->post("/dialog/v133/sendDate", {{"ideaId", ideaId}, {"targetUid", std::to_string(me_)}})
                  .errorInfo(),
              "不能约自己哦");
    EXPECT_FALSE(
        client_->post("/dialog/v133/sendDate", {{"ideaId", ideaId}, {"targetUid", "999999"}}).success());
    EXPECT_FALSE(
        client_->post("/dialog/v133/sendDate", {{"ideaId", "999999"}, {"targetUid", std::to_string(target)}})
            .success());
    EXPECT_FALSE(client_->post("/dialog/v133/sendDate", {{"targetUid", std::to_string(target)}}).success());
    ASSERT_TRUE(control().shield(target, me_));
    EXPECT_EQ(
        client_->post("/dialog/v133/sendDate", {{"ideaId", ideaId}, {"targetUid", std::to_string(target)}})
            .errorInfo(),
        "你们之间有屏蔽关系，无法邀请");
    EXPECT_EQ(control().messagesFrom(me_).size(), seeded + 2);
}

}  // namespace zorlet::sandbox::test
