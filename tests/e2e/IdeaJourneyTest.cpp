// A user's way through the ideas against the local service: the hottest food
// ideas, one idea's page, wanting to go, the takers nationwide, inviting one
// of them, and the idea's map with a route.
#include "app/CustomNavigationController.h"
#include "ideas/CategoryTableViewController.h"
#include "ideas/IdeaDetailViewController.h"
#include "ideas/IdeaListCell.h"
#include "ideas/IdeaLocationViewController.h"
#include "ideas/IdeaUserListCell.h"
#include "ideas/IdeaUsersViewController.h"
#include "ideas/IdeaViewController.h"
#include "model/Idea.h"
#include "model/IdeaUser.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/TestControl.h"
#include "session/LoginService.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/UserLocationSource.h"

#include "SandboxJourneyTest.h"

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class IdeaJourneyTest : public SandboxJourneyTest {
protected:
    bool seedsDemo() const override { return true; }
    void TearDown() override {
        UserLocationSource::shared().reset();
        SandboxJourneyTest::TearDown();
    }
    template <typename List>
    bool waitLoaded(List& list) {
        return waitUntil([&] { return !list.reloading && list.data && list.data->count() > 0; }, 20000ms);
    }
};

TEST_F(IdeaJourneyTest, FromTheListToAnInvitationAndTheMap) {
    ASSERT_TRUE(LoginService::getInstance()
                    .useLoginName(sandbox::DemoSeed::demoAccount, sandbox::DemoSeed::demoPassword)
                    .success);
    std::int64_t me = UserContext::getUid();
    UserLocationSource::shared().setLocation({39.92, 116.40});

    auto list = std::make_shared<IdeaViewController>();
    auto navigation = std::make_shared<CustomNavigationController>(list);
    window_->setRootViewController(navigation);
    window_->makeKeyAndVisible();
    ASSERT_TRUE(waitLoaded(*list));
    EXPECT_TRUE(list->data->pager()->hasNext);  // sixty ideas do not fit one page

    // The hottest food ideas.
    ASSERT_TRUE(UserInput::tap(*list->segmentedControl->buttons()[1]));
    ASSERT_TRUE(waitLoaded(*list));
    ASSERT_TRUE(UserInput::tap(*list->categoryButton));
    auto& picker = static_cast<CategoryTableViewController&>(list->categoryPopver->contentViewController());
    ASSERT_TRUE(UserInput::tapRow(*picker.tableView, {0, 1}));  // 美食
    ASSERT_TRUE(waitUntil([&] { return !list->reloading; }, 20000ms));
    ASSERT_TRUE(waitLoaded(*list));
    EXPECT_EQ(list->categoryButton->title(), "美食");
    for (const auto& record : list->data->data()) {
        EXPECT_EQ(std::static_pointer_cast<Idea>(record)->categoryId, 1);
    }
    auto idea = std::static_pointer_cast<Idea>(list->data->objectAtIndex(0));
    auto takersBefore = idea->useCount;
    ASSERT_GT(takersBefore, 1);

    // Its page, and wanting to go: the takers open with the invitation tip.
    ASSERT_TRUE(UserInput::tapRow(*list->tableView, {0, 0}));
    auto* detail = dynamic_cast<IdeaDetailViewController*>(navigation->topViewController());
    ASSERT_NE(detail, nullptr);
    EXPECT_FALSE(detail->basicSection->isHidden());
    detail->scrollView->setContentOffset(Point{0, detail->wantToButton->frame().y() - 200});
    ASSERT_TRUE(UserInput::tap(*detail->wantToButton));
    ASSERT_TRUE(waitUntil([&] { return idea->hasUsed; }, 20000ms));
    EXPECT_EQ(idea->useCount, takersBefore + 1);
    advance(2s);
    auto* takers = dynamic_cast<IdeaUsersViewController*>(navigation->topViewController());
    ASSERT_NE(takers, nullptr);
    EXPECT_TRUE(takers->dateTip);

    // Nationwide, everyone who wants to go, this user among them.
    ASSERT_TRUE(waitLoaded(*takers));  // the same city first
    advance(2s);                       // the tip goes
    loop().runPending();
    takers->segmentedControl->buttons()[1]->touch(TouchDown);
    ASSERT_TRUE(waitUntil(
        [&] {
            return !takers->reloading && takers->data->pager() &&
                   takers->data->pager()->totalResults == takersBefore + 1;
        },
        20000ms));
    auto* first = dynamic_cast<IdeaUserListCell*>(takers->tableView->cellForRow({0, 0}));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->ideaUser->user->uid, me);  // the newest taker
    EXPECT_TRUE(first->dateButton->isHidden());
    auto seeded = sandbox_->testControl().messagesFrom(me).size();
    auto* other = dynamic_cast<IdeaUserListCell*>(takers->tableView->cellForRow({0, 1}));
    ASSERT_NE(other, nullptr);
    ASSERT_TRUE(UserInput::tap(*other->dateButton));
    ASSERT_TRUE(waitUntil([&] { return other->ideaUser->user->isBeDated; }, 20000ms));
    auto messages = sandbox_->testControl().messagesFrom(me);
    ASSERT_EQ(messages.size(), seeded + 1);
    EXPECT_EQ(messages.back().toUid, other->ideaUser->user->uid);
    EXPECT_NE(messages.back().content.find(idea->content), std::string::npos);

    // Back on the page, the map with its pin and a route from here.
    advance(2s);
    navigation->popViewController(false);
    ASSERT_EQ(navigation->topViewController(), detail);
    detail->scrollView->setContentOffset(Point{0, detail->basicSection->frame().y() - 50});
    ASSERT_TRUE(UserInput::tap(*detail->placeRow));
    auto* map = dynamic_cast<IdeaLocationViewController*>(navigation->topViewController());
    ASSERT_NE(map, nullptr);
    ASSERT_TRUE(waitUntil([&] { return map->hasLocation; }, 20000ms));
    EXPECT_NEAR(map->latitude, 39.9, 0.1);
    EXPECT_EQ(map->mapView->annotations().size(), 1u);
    ASSERT_TRUE(waitUntil([&] { return map->mapView->userLocation().has_value(); }));
    ASSERT_TRUE(UserInput::tap(*map->navButton));
    ASSERT_EQ(Application::shared().openedUrls().size(), 1u);
    EXPECT_NE(Application::shared().openedUrls()[0].find("saddr=39.920000,116.400000&daddr="),
              std::string::npos);

    // Back on the list the row shows the new count at once.
    navigation->popToRootViewController(false);
    auto* row = dynamic_cast<IdeaListCell*>(list->tableView->cellForRow({0, 0}));
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->usersButton->title(), std::to_string(takersBefore + 1) + "人想去");
    EXPECT_FALSE(row->wantToButton->isEnabled());
}

}  // namespace
}  // namespace zorlet::test
