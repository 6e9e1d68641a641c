#include "IdeaTestSupport.h"

#include "ideas/IdeaLocationViewController.h"
#include "ideas/IdeaMapAnnotation.h"
#include "ideas/IdeaUserListCell.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

Json takerJson(int uid, int gender) {
    return {{"ideaId", 7}, {"userView", userJson(uid, gender)}, {"createTime", 1700000000000LL}};
}

class IdeaUsersTest : public IdeaScreenTest {
protected:
    void SetUp() override {
        IdeaScreenTest::SetUp();
        server_.onJson("/idea/users",
                       pagedJson(Json::array({takerJson(1, 1), takerJson(2, 0), takerJson(3, 1)}), true, 12));
    }
    std::shared_ptr<IdeaUsersViewController> openTakers(bool dateTip = false) {
        auto takers = std::make_shared<IdeaUsersViewController>();
        takers->idea = Idea::convertFromDictionary(ideaJson(7, 30));
        takers->dateTip = dateTip;
        navigation_ = show(takers);
        EXPECT_TRUE(waitLoaded(*takers));
        return takers;
    }
    bool waitLoaded(IdeaUsersViewController& takers) {
        return waitUntil([&] { return !takers.reloading && takers.data && takers.data->count() > 0; });
    }
    IdeaUserListCell* row(IdeaUsersViewController& takers, int index) {
        return dynamic_cast<IdeaUserListCell*>(takers.tableView->cellForRow({0, index}));
    }
    RecordedRequest lastList() { return server_.lastRequestTo("/idea/users"); }
    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(IdeaUsersTest, CityAndGenderFiltersGoOnlyWhereChosen) {
    std::size_t entered = eventCount("enterIdeaUsers");
    auto takers = openTakers();
    EXPECT_EQ(eventCount("enterIdeaUsers"), entered + 1);
    EXPECT_EQ(lastList().param("ideaId"), "7");
    EXPECT_EQ(lastList().param("cityId"), "2");  // "同城": the signed-in user's city
    EXPECT_FALSE(lastList().hasParam("gender"));
    EXPECT_EQ(lastList().param("page"), "1");

    // The header: same-city takers from the pager, the idea, the nationwide count.
    EXPECT_EQ(takers->heightForHeader(*takers->tableView, 0), 35);
    EXPECT_EQ(takers->sameCityText(), "同城12人想去");
    EXPECT_EQ(takers->nationwideText(), "全国共30人");
    auto header = takers->viewForHeader(*takers->tableView, 0);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(static_cast<Label*>(header->subviews()[1].get())->text(), "想法7");

    takers->segmentedControl->buttons()[1]->touch(TouchDown);
    ASSERT_TRUE(waitForRequests("/idea/users", 2));
    EXPECT_FALSE(lastList().hasParam("cityId"));
    ASSERT_TRUE(waitLoaded(*takers));

    ASSERT_TRUE(UserInput::tap(*takers->genderButtonView));
    ASSERT_TRUE(UserInput::answerSheet(2));  // 宅女
    ASSERT_TRUE(waitForRequests("/idea/users", 3));
    EXPECT_EQ(lastList().param("gender"), "0");
    EXPECT_FALSE(lastList().hasParam("cityId"));
    ASSERT_TRUE(waitLoaded(*takers));

    ASSERT_TRUE(UserInput::tapRow(*takers->tableView, {0, 3}));  // the more row
    ASSERT_TRUE(waitForRequests("/idea/users", 4));
    EXPECT_EQ(lastList().param("page"), "2");
}

TEST_F(IdeaUsersTest, TheTipShowsForTwoSecondsWhenAsked) {
    auto takers = openTakers(true);
    auto* tip = ProgressHUD::HUDForView(&takers->view());
    ASSERT_NE(tip, nullptr);
    EXPECT_EQ(tip->labelText(), "约个人同去吧");
    advance(2s);
    loop().runPending();
    EXPECT_EQ(ProgressHUD::HUDForView(&takers->view()), nullptr);
}

TEST_F(IdeaUsersTest, InvitingATakerDisablesTheButtonForGood) {
    server_.onJson("/dialog/v133/sendDate", R"({"success":true})");
    auto takers = openTakers();
    EXPECT_EQ(takers->heightForRow(*takers->tableView, {0, 0}), 80);
    auto* me = row(*takers, 0);
    EXPECT_TRUE(me->dateButton->isHidden());
    EXPECT_FALSE(me->dateButton->isEnabled());
    auto* her = row(*takers, 1);
    EXPECT_FALSE(her->dateButton->isHidden());
    EXPECT_TRUE(her->dateButton->isEnabled());
    EXPECT_EQ(her->nicknameLabel->text(), "用户2");
    EXPECT_EQ(her->infoLabel->text(), her->ideaUser->user->basicInfo());

    ASSERT_TRUE(UserInput::tap(*her->dateButton));
    EXPECT_EQ(ProgressHUD::HUDForView(&takers->view())->labelText(), "操作中...");
    ASSERT_TRUE(waitUntil([&] { return her->ideaUser->user->isBeDated; }));
    auto sent = server_.lastRequestTo("/dialog/v133/sendDate");
    EXPECT_EQ(sent.method, "POST");
    EXPECT_EQ(sent.param("ideaId"), "7");
    EXPECT_EQ(sent.param("targetUid"), "2");
    EXPECT_FALSE(her->dateButton->isEnabled());
    EXPECT_EQ(ProgressHUD::HUDForView(&takers->view())->labelText(), "发送成功，ta看到会开心的");

    takers->tableView->reloadData();
    EXPECT_FALSE(row(*takers, 1)->dateButton->isEnabled());
    EXPECT_TRUE(row(*takers, 2)->dateButton->isEnabled());
}

TEST_F(IdeaUsersTest, InvitationFailuresLeaveTheButtonEnabled) {
    auto takers = openTakers();
    auto* him = row(*takers, 2);
    server_.onJson("/dialog/v133/sendDate", refusalEnvelopeText("对方不想收到你的邀请"));
    ASSERT_TRUE(UserInput::tap(*him->dateButton));
    ASSERT_TRUE(alertShown("对方不想收到你的邀请"));
    EXPECT_TRUE(him->dateButton->isEnabled());
    EXPECT_FALSE(him->ideaUser->user->isBeDated);
    AlertRegistry::shared().clear();

    server_.onJson("/dialog/v133/sendDate", R"({"success":"true"})");
    ASSERT_TRUE(UserInput::tap(*him->dateButton));
    ASSERT_TRUE(alertShown(kGenericText));
    EXPECT_TRUE(him->dateButton->isEnabled());
    AlertRegistry::shared().clear();

    Reachability::shared().setNetworkAvailable(false);
    ASSERT_TRUE(UserInput::tap(*him->dateButton));
    EXPECT_EQ(ProgressHUD::HUDForView(&takers->view()), nullptr);
    Reachability::shared().setNetworkAvailable(true);

    server_.onJson("/dialog/v133/sendDate", "{}", 401);
    ASSERT_TRUE(UserInput::tap(*him->dateButton));
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
    EXPECT_FALSE(him->ideaUser->user->isBeDated);
}

class IdeaLocationTest : public IdeaScreenTest {
protected:
    // Each map asks for an idea of its own, so no answer comes from the download cache.
    std::shared_ptr<IdeaLocationViewController> openMap(std::int64_t ideaId) {
        auto map = std::make_shared<IdeaLocationViewController>();
        map->ideaId = ideaId;
        map->place = "798艺术区";
        show(map);
        return map;
    }
};

TEST_F(IdeaLocationTest, ThePinComesFromTheServerAndNavigationOpensARoute) {
    server_.onJson("/idea/v133/location", R"({"success":true,"result":[116.4,39.9]})");
    UserLocationSource::shared().setLocation({39.91, 116.41});
    auto map = openMap(4);
    EXPECT_EQ(map->title(), "查看地图");
    ASSERT_TRUE(waitUntil([&] { return map->hasLocation; }));
    EXPECT_EQ(server_.lastRequestTo("/idea/v133/location").param("ideaId"), "4");
    EXPECT_DOUBLE_EQ(map->latitude, 39.9);
    EXPECT_DOUBLE_EQ(map->longitude, 116.4);
    EXPECT_DOUBLE_EQ(map->mapView->region().center.latitude, 39.9);
    EXPECT_DOUBLE_EQ(map->mapView->region().center.longitude, 116.4);
    ASSERT_EQ(map->mapView->annotations().size(), 1u);
    EXPECT_EQ(map->mapView->annotations()[0]->title(), "798艺术区");
    EXPECT_EQ(map->mapView->annotations()[0]->subtitle(), "");

    ASSERT_TRUE(waitUntil([&] { return map->mapView->userLocation().has_value(); }));
    ASSERT_TRUE(UserInput::tap(*map->navButton));
    ASSERT_EQ(Application::shared().openedUrls().size(), 1u);
    EXPECT_EQ(Application::shared().openedUrls()[0],
              "https://maps.google.com/maps?saddr=39.910000,116.410000&daddr=39.900000,116.400000");
}

TEST_F(IdeaLocationTest, AnAnswerWithoutTwoCoordinatesLeavesNavigationInactive) {
    std::int64_t nextId = 100;
    for (const char* answer : {R"({"success":true,"result":[]})", R"({"success":true,"result":[116.4]})",
                               R"({"success":true,"result":["116.4","39.9"]})", R"({"success":true})"}) {
        server_.onJson("/idea/v133/location", answer);
        auto map = openMap(nextId++);
        ASSERT_TRUE(waitForRequests("/idea/v133/location", 1));
        settle();
        EXPECT_FALSE(map->hasLocation) << answer;
        EXPECT_TRUE(map->mapView->annotations().empty()) << answer;
        ASSERT_TRUE(UserInput::tap(*map->navButton));
        EXPECT_TRUE(Application::shared().openedUrls().empty()) << answer;
        server_.clearRequests();
    }
}

TEST_F(IdeaLocationTest, FailuresAreReportedAndTheIndicatorGoes) {
    server_.onJson("/idea/v133/location", refusalEnvelopeText("这个好主意已经不存在了"));
    auto map = openMap(200);
    ASSERT_TRUE(alertShown("这个好主意已经不存在了"));
    loop().runPending();
    EXPECT_EQ(ProgressHUD::HUDForView(&map->navigationController()->view()), nullptr);
    AlertRegistry::shared().clear();

    server_.onJson("/idea/v133/location", "{}", 401);
    openMap(201);
    ASSERT_TRUE(waitUntil([] { return !UserContext::hasLogin(); }));
}

}  // namespace
}  // namespace zorlet::test
