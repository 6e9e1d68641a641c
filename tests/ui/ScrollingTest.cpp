#include "UiTestSupport.h"

#include "ui/ActionSheet.h"
#include "ui/PickerView.h"
#include "ui/Renderer.h"
#include "ui/ScrollView.h"
#include "ui/Toolbar.h"
#include "ui/UserInput.h"

using namespace zorlet;

namespace {

using ScrollingTest = zorlet::test::UiTest;

TEST_F(ScrollingTest, PagingSnapsToWholePagesAndBouncesBackFromTheEdges) {
    struct Recorder : ScrollViewDelegate {
        std::vector<std::string> events;
        void scrollViewWillBeginDragging(ScrollView&) override { events.push_back("begin"); }
        void scrollViewDidEndDragging(ScrollView&, bool decelerate) override {
            events.push_back(decelerate ? "end+" : "end");
        }
        void scrollViewDidEndDecelerating(ScrollView& s) override {
            events.push_back("settled " + std::to_string(static_cast<int>(s.contentOffset().x)));
        }
    } recorder;
    ScrollView pages(Rect(0, 0, 320, 460));
    pages.setContentSize({320 * 4, 460});
    pages.setPagingEnabled(true);
    pages.setDelegate(&recorder);
    UserInput::scroll(pages, {200, 0});
    EXPECT_EQ(pages.contentOffset().x, 320);
    UserInput::scroll(pages, {100, 0});
    EXPECT_EQ(pages.contentOffset().x, 320);
    UserInput::scroll(pages, {-1000, 0});
    EXPECT_EQ(pages.contentOffset().x, 0);
    EXPECT_EQ(recorder.events[0], "begin");
    EXPECT_EQ(recorder.events[1], "end+");
    EXPECT_EQ(recorder.events[2], "settled 320");

    // Scrolling switched off ignores drags.
    pages.setScrollEnabled(false);
    UserInput::scroll(pages, {640, 0});
    EXPECT_EQ(pages.contentOffset().x, 0);
}

TEST_F(ScrollingTest, ScrollRectToVisibleMovesOnlyAsFarAsNeeded) {
    ScrollView list(Rect(0, 0, 320, 200));
    list.setContentSize({320, 1000});
    list.scrollRectToVisible(Rect(0, 500, 320, 50), true);
    EXPECT_EQ(list.contentOffset().y, 350);
    EXPECT_TRUE(list.lastOffsetChangeAnimated());
    list.scrollRectToVisible(Rect(0, 400, 320, 50), false);
    EXPECT_EQ(list.contentOffset().y, 350);
    list.scrollRectToVisible(Rect(0, 2000, 320, 50), false);
    EXPECT_EQ(list.contentOffset().y, 800);
}

TEST_F(ScrollingTest, ASheetWithCustomContentIsAsTallAsItsContent) {
    // A picker under a toolbar, as the app's picker sheet builds it.
    auto sheet = ActionSheet::create("\n\n\n", nullptr, "", "");
    auto toolbar = std::make_shared<Toolbar>(Rect(0, 0, 320, 44));
    toolbar->setBarStyle(Toolbar::BarStyle::BlackTranslucent);
    sheet->addSubview(toolbar);
    auto content = std::make_shared<View>(Rect(0, 44, 320, 216));
    content->addSubview(std::make_shared<PickerView>(Rect(0, 0, 320, 216)));
    sheet->addSubview(content);
    View host(Rect(0, 0, 320, 460));
    sheet->showInView(&host);
    sheet->layoutForScreen({320, 480});
    EXPECT_EQ(sheet->frame(), Rect(0, 480 - 260, 320, 260));
    auto picture = Renderer::renderView(*sheet, 1.0);
    EXPECT_EQ(picture->pixelHeight(), 260);
    sheet->dismissWithClickedButtonIndex(0, true);
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

}  // namespace
