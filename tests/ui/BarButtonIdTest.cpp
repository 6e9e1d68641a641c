#include "UiTestSupport.h"

#include "ui/NavigationController.h"
#include "ui/Toolbar.h"
#include "ui/Window.h"

using namespace zorlet;

namespace {

using BarButtonIdTest = zorlet::test::UiTest;

// Flows find bar buttons by the id of their item, whatever the bar draws for it.
TEST_F(BarButtonIdTest, AnItemsIdReachesTheViewThatShowsIt) {
    auto screen = std::make_shared<ViewController>();
    auto save = std::make_shared<BarButtonItem>("保存", BarButtonItem::Style::Done, nullptr);
    save->setId("save");
    auto ownView = std::make_shared<View>(Rect(0, 0, 40, 30));
    ownView->setId("genderButton");
    auto custom = std::make_shared<BarButtonItem>(ownView);
    custom->setId("other");
    screen->navigationItem().setRightBarButtonItem(save);
    screen->navigationItem().setLeftBarButtonItem(custom);
    auto navigation = std::make_shared<NavigationController>(screen);
    auto window = std::make_shared<Window>();
    window->setRootViewController(navigation);
    window->makeKeyAndVisible();
    ASSERT_NE(navigation->navigationBar().rightButton(), nullptr);
    EXPECT_EQ(navigation->navigationBar().rightButton()->id(), "save");
    EXPECT_EQ(ownView->id(), "genderButton");  // a custom view keeps its own id

    Toolbar toolbar(Rect(0, 0, 320, 44));
    auto done = std::make_shared<BarButtonItem>("完成", BarButtonItem::Style::Done, nullptr);
    done->setId("done");
    auto plainView = std::make_shared<View>(Rect(0, 0, 40, 30));
    auto plain = std::make_shared<BarButtonItem>(plainView);
    plain->setId("docancel");
    toolbar.setItems(
        {plain, std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace), done});
    ASSERT_NE(toolbar.viewForItem(2), nullptr);
    EXPECT_EQ(toolbar.viewForItem(2)->id(), "done");
    EXPECT_EQ(plainView->id(), "docancel");
}

}  // namespace
