#include "model/Idea.h"
#include "model/RecordConverters.h"
#include "net/RecordRegistry.h"
#include "net/UrlUtils.h"

#include <gtest/gtest.h>

namespace zorlet {
namespace {

class IdeaTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousWeb_ = UrlUtils::webBaseUrl();
        UrlUtils::setWebBaseUrl("http://web.example");
    }
    void TearDown() override { UrlUtils::setWebBaseUrl(previousWeb_); }
    std::string previousWeb_;
};

TEST_F(IdeaTest, ConvertsEveryKeyAndTreatsNullAsEmpty) {
    auto idea = Idea::convertFromDictionary(Json::parse(R"({
        "ideaId": 42, "content": "看展", "place": "798", "startTime": "5月1日 10:00", "endTime": null,
        "charge": null, "cityName": "北京", "townName": "朝阳区", "categoryId": 4, "categoryName": "展览",
        "useCount": 3, "hasUsed": 1, "pic": "http://p/s.png", "bigPic": "http://p/b.png", "detail": "很好"})"));
    EXPECT_EQ(idea->ideaId, 42);
    EXPECT_EQ(idea->objIdentity(), 42);
    EXPECT_EQ(idea->content, "看展");
    EXPECT_EQ(idea->place, "798");
    EXPECT_EQ(idea->charge, 0);
    EXPECT_EQ(idea->townName, "朝阳区");
    EXPECT_EQ(idea->categoryId, 4);
    EXPECT_EQ(idea->useCount, 3);
    EXPECT_TRUE(idea->hasUsed);
    EXPECT_EQ(idea->bigPic, "http://p/b.png");
    EXPECT_EQ(idea->detail, "很好");
    EXPECT_TRUE(idea->hasStartTime());
    EXPECT_FALSE(idea->hasEndTime());
    EXPECT_TRUE(idea->hasTime());
    EXPECT_TRUE(idea->hasCategory());
    EXPECT_TRUE(idea->hasPerson());

    auto empty =
        Idea::convertFromDictionary(Json::parse(R"({"ideaId": 1, "useCount": 0, "categoryName": ""})"));
    EXPECT_FALSE(empty->hasTime());
    EXPECT_FALSE(empty->hasCategory());
    EXPECT_FALSE(empty->hasPerson());
    EXPECT_FALSE(empty->hasUsed);

    // Paged lists find the converter by the name the idea list gives.
    RecordConverters::registerAll();
    const auto* convert = RecordRegistry::converterFor("Idea");
    ASSERT_NE(convert, nullptr);
    auto record =
        std::dynamic_pointer_cast<Idea>((*convert)(Json::parse(R"({"ideaId": 7, "content": "x"})")));
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->content, "x");
}

TEST_F(IdeaTest, ShareTextsForSmsPlatformAndMail) {
    Idea idea;
    idea.ideaId = 9;
    idea.content = "看展";
    EXPECT_EQ(idea.shareThirdpartyText(), "想一起去：看展么？");
    EXPECT_EQ(idea.shareSmsText(), "想一起去：看展么？（来自 Zorletiphone版）http://web.example");
    EXPECT_EQ(idea.shareMailText(), "想一起去：看展么？ <a href=\"http://web.example/idea/9\">去看看</a>");

    idea.place = "798";
    idea.bigPic = "http://p/b.png";
    EXPECT_EQ(idea.shareThirdpartyText(), "想一起去：看展么？地点：798");
    EXPECT_EQ(idea.shareMailText(),
              "想一起去：看展么？地点：798 <a href=\"http://web.example/idea/9\">去看看</a><br /><br />"
              "<a href=\"http://web.example/idea/9\"><img width=\"225\" src=\"http://p/b.png\" /></a>");

    // The idea's own words never turn into markup in the mail.
    idea.content = "<b>吃&喝</b>";
    idea.place.clear();
    idea.bigPic.clear();
    EXPECT_EQ(idea.shareMailText(),
              "想一起去：&lt;b&gt;吃&amp;喝&lt;/b&gt;么？ <a href=\"http://web.example/idea/9\">去看看</a>");
}

}  // namespace
}  // namespace zorlet
