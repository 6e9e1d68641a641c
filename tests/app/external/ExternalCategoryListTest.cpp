#include "ExternalTestSupport.h"

#include "external/ExternalCategoryButton.h"
#include "external/ExternalCategoryListViewController.h"
#include "external/ExternalPostListViewController.h"
#include "people/SendPostViewController.h"
#include "ui/BarButtonItem.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"

namespace zorlet::test {
namespace {

class ExternalCategoryListTest : public ExternalPlacesTest {
protected:
    // The feed's plus button, as the user reaches the categories.
    std::shared_ptr<ExternalCategoryListViewController> openFromFeed() {
        auto feed = std::make_shared<UserViewController>();
        show(feed);
        feed->goToExternalCategoryList();
        auto* modal = dynamic_cast<CustomNavigationController*>(feed->modalViewController());
        EXPECT_NE(modal, nullptr);
        if (modal == nullptr) {
            return nullptr;
        }
        modals_ = std::static_pointer_cast<CustomNavigationController>(modal->shared_from_this());
        auto* top = modal->topViewController();
        modal->view();
        auto screen = std::dynamic_pointer_cast<ExternalCategoryListViewController>(
            top != nullptr ? top->shared_from_this() : nullptr);
        EXPECT_NE(screen, nullptr);
        if (screen) {
            screen->view();
            EXPECT_TRUE(waitUntil([&] { return screen->externalCategoryArray.size() == 5; }));
        }
        return screen;
    }
    std::vector<ExternalCategoryButton*> gridButtons(ExternalCategoryListViewController& screen) {
        std::vector<ExternalCategoryButton*> buttons;
        for (const auto& child : screen.scrollView->subviews()) {
            if (auto* button = dynamic_cast<ExternalCategoryButton*>(child.get())) {
                buttons.push_back(button);
            }
        }
        return buttons;
    }

    std::shared_ptr<CustomNavigationController> modals_;
};

TEST_F(ExternalCategoryListTest, ThePlusButtonPresentsTheGridOfCategories) {
    auto screen = openFromFeed();
    ASSERT_TRUE(screen);
    EXPECT_EQ(screen->title(), "想出去玩什么？");
    EXPECT_EQ(server_.countOf("/post/v135/externalCategoryList"), 1u);

    auto buttons = gridButtons(*screen);
    ASSERT_EQ(buttons.size(), 5u);
    const Rect expected[] = {
        {15, 59, 140, 40}, {165, 59, 140, 40}, {15, 109, 140, 40}, {165, 109, 140, 40}, {15, 159, 140, 40}};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i]->frame(), expected[i]) << i;
        EXPECT_EQ(buttons[i]->tag(), static_cast<int>(i));
        EXPECT_EQ(buttons[i]->title(), screen->externalCategoryArray[i]->externalCategoryName);
    }
    EXPECT_EQ(screen->tipLabel->frame().y(), 209);
    EXPECT_EQ(screen->scrollView->contentSize().height, screen->tipLabel->frame().maxY() + 10);

    // A category opens its list with the very same record.
    ASSERT_TRUE(UserInput::tap(*buttons[2]));
    auto* list = dynamic_cast<ExternalPostListViewController*>(modals_->topViewController());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->externalCategory, screen->externalCategoryArray[2]);
    list->view();  // loaded once the push animation shows it
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 1));
    EXPECT_EQ(server_.lastRequestTo("/post/v135/externalPostList").param("categoryId"), "30");
}

TEST_F(ExternalCategoryListTest, TheComposerButtonAndClosing) {
    auto screen = openFromFeed();
    ASSERT_TRUE(screen);
    auto composer = screen->navigationItem().rightBarButtonItem();
    ASSERT_TRUE(composer);
    ASSERT_TRUE(composer->customView());
    EXPECT_EQ(composer->customView()->id(), "goToSendPost");
    ASSERT_TRUE(UserInput::tapBarButton(*composer));
    EXPECT_EQ(modals_->topViewController()->className(), "SendPostViewController");
    modals_->popViewController();
    EXPECT_EQ(modals_->topViewController(), screen.get());

    auto* presenter = modals_->presentingViewController();
    ASSERT_NE(presenter, nullptr);
    ASSERT_TRUE(UserInput::tapBarButton(*screen->navigationItem().leftBarButtonItem()));
    EXPECT_EQ(presenter->modalViewController(), nullptr);
}

TEST_F(ExternalCategoryListTest, SearchingOpensAKeywordListAndATouchOnTheGridEndsIt) {
    auto screen = openFromFeed();
    ASSERT_TRUE(screen);
    ASSERT_TRUE(UserInput::tap(screen->searchBar->searchField()));
    EXPECT_TRUE(screen->searchBar->showsCancelButton());
    EXPECT_EQ(screen->scrollView->gestureRecognizers().size(), 2u);
    // Beginning again attaches nothing twice.
    screen->searchBarTextDidBeginEditing(*screen->searchBar);
    EXPECT_EQ(screen->scrollView->gestureRecognizers().size(), 2u);

    ASSERT_TRUE(UserInput::typeText("火锅"));
    ASSERT_TRUE(UserInput::tap(*screen->scrollView));  // a touch on the grid, off the buttons
    EXPECT_EQ(screen->searchBar->text(), "");
    EXPECT_FALSE(screen->searchBar->showsCancelButton());
    EXPECT_FALSE(screen->searchBar->isFirstResponder());
    EXPECT_TRUE(screen->scrollView->gestureRecognizers().empty());

    // A blank search goes nowhere.
    ASSERT_TRUE(UserInput::tap(screen->searchBar->searchField()));
    ASSERT_TRUE(UserInput::typeText("  "));
    UserInput::pressReturn();
    EXPECT_EQ(modals_->topViewController(), screen.get());

    screen->searchBar->setText("火锅");
    screen->searchBarSearchButtonClicked(*screen->searchBar);
    auto* list = dynamic_cast<ExternalPostListViewController*>(modals_->topViewController());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->title(), "火锅");
    EXPECT_FALSE(list->externalCategory);
    ASSERT_TRUE(waitForRequests("/post/v135/externalPostList", 1));
    auto sent = server_.lastRequestTo("/post/v135/externalPostList");
    EXPECT_EQ(sent.param("categoryId"), "0");
    EXPECT_EQ(sent.param("keyword"), "火锅");
    EXPECT_EQ(sent.param("sort"), "rating");
}

TEST_F(ExternalCategoryListTest, ARefusedLoadShowsWhyAndLeavesTheGridEmpty) {
    server_.onJson("/post/v135/externalCategoryList", R"({"success":false,"errorInfo":"服务暂不可用"})");
    auto feed = std::make_shared<UserViewController>();
    show(feed);
    feed->goToExternalCategoryList();
    auto* modal = dynamic_cast<NavigationController*>(feed->modalViewController());
    ASSERT_NE(modal, nullptr);
    auto* screen = dynamic_cast<ExternalCategoryListViewController*>(modal->topViewController());
    ASSERT_NE(screen, nullptr);
    screen->view();
    ASSERT_TRUE(waitUntil([&] { return lastAlert() == "服务暂不可用"; }));
    EXPECT_TRUE(screen->externalCategoryArray.empty());
    EXPECT_TRUE(gridButtons(*screen).empty());
    auto* hud = ProgressHUD::HUDForView(window_.get());
    EXPECT_TRUE(hud == nullptr || hud->isHidden());
}

}  // namespace
}  // namespace zorlet::test
