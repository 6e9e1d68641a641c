#include "WidgetTest.h"

#include "ui/Color.h"
#include "ui/PickerView.h"
#include "ui/Toolbar.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

#include <string>
#include <vector>

using namespace zorlet;

namespace {

// A screen choosing a city with a picker in a sheet, as the profile form does.
class CityChooser : public CustomActionSheetDelegate, public PickerViewDataSource, public PickerViewDelegate {
public:
    std::vector<std::string> cities{"北京", "上海", "广州"};
    std::string chosen = "北京";
    std::vector<std::string> calls;
    std::shared_ptr<PickerView> picker;

    std::shared_ptr<CustomActionSheet> open(std::shared_ptr<CityChooser> self, View* in) {
        auto sheet = CustomActionSheet::create(PickerView::kDefaultHeight, "所在地", std::move(self));
        sheet->setTag(7);
        picker = std::make_shared<PickerView>(Rect(0, 0, 320, PickerView::kDefaultHeight));
        picker->setDataSource(this);
        picker->setDelegate(this);
        sheet->view().addSubview(picker);
        sheet->showInView(in);
        return sheet;
    }

    void done(CustomActionSheet& sheet) override {
        calls.push_back("done tag=" + std::to_string(sheet.tag()) + (sheet.isVisible() ? " shown" : " gone"));
        chosen = cities[static_cast<std::size_t>(picker->selectedRow(0))];
    }
    void docancel(CustomActionSheet& sheet) override {
        calls.push_back("docancel tag=" + std::to_string(sheet.tag()) +
                        (sheet.isVisible() ? " shown" : " gone"));
    }

    int numberOfComponents(PickerView&) override { return 1; }
    int numberOfRows(PickerView&, int) override { return static_cast<int>(cities.size()); }
    std::string titleForRow(PickerView&, int row, int) override {
        return cities[static_cast<std::size_t>(row)];
    }
};

std::string titleOf(double height) {
    return CustomActionSheet(height, "生日", nullptr).title();
}

using CustomActionSheetTest = zorlet::test::WidgetTest;

TEST_F(CustomActionSheetTest, ItsTitleMakesRoomWithOneLineBreakPerWhole16Points) {
    EXPECT_EQ(titleOf(216), std::string(13, '\n'));
    EXPECT_EQ(titleOf(15), "");
    EXPECT_EQ(titleOf(16), "\n");
    EXPECT_EQ(titleOf(31.9), "\n");
    EXPECT_EQ(titleOf(0), "");
    EXPECT_EQ(titleOf(-40), "");
}

TEST_F(CustomActionSheetTest, BuildsAToolbarWithCancelTitleAndDoneOverTheContent) {
    auto sheet = CustomActionSheet::create(216, "生日", nullptr);

    Toolbar& bar = sheet->toolBar();
    EXPECT_EQ(bar.frame(), Rect(0, 0, 320, 44));
    EXPECT_EQ(bar.barStyle(), Toolbar::BarStyle::BlackTranslucent);
    const auto& items = bar.items();
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0]->title(), "取消");
    EXPECT_EQ(items[0]->style(), BarButtonItem::Style::Bordered);
    EXPECT_EQ(items[1]->systemItem(), BarButtonItem::SystemItem::FlexibleSpace);
    EXPECT_EQ(items[2]->title(), "生日");
    EXPECT_EQ(items[2]->style(), BarButtonItem::Style::Plain);
    EXPECT_EQ(items[2]->width(), 220);
    EXPECT_EQ(items[3]->systemItem(), BarButtonItem::SystemItem::FlexibleSpace);
    EXPECT_EQ(items[4]->title(), "完成");
    EXPECT_EQ(items[4]->style(), BarButtonItem::Style::Done);

    EXPECT_EQ(sheet->view().frame(), Rect(0, 44, 320, 216));
    EXPECT_EQ(sheet->view().backgroundColor(), Color::groupTableViewBackground());

    // On a 320 × 480 screen the sheet rises exactly as high as toolbar and content.
    sheet->layoutForScreen(Size{320, 480});
    EXPECT_EQ(sheet->frame(), Rect(0, 220, 320, 260));
}

TEST_F(CustomActionSheetTest, EmptyTitlesFallBackToTheDefaultsOneByOne) {
    auto clearing = CustomActionSheet::create(216, "Zorlet时间", "清空", "", nullptr);
    EXPECT_EQ(clearing->cancelItem()->title(), "清空");
    EXPECT_EQ(clearing->doneItem()->title(), "完成");

    auto confirming = CustomActionSheet::create(216, "Zorlet分类", "", "确定", nullptr);
    EXPECT_EQ(confirming->cancelItem()->title(), "取消");
    EXPECT_EQ(confirming->doneItem()->title(), "确定");
}

TEST_F(CustomActionSheetTest, DoneTellsTheDelegateWhileShownThenDismisses) {
    auto chooser = std::make_shared<CityChooser>();
    View screen(Rect(0, 0, 320, 480));
    chooser->open(chooser, &screen);
    ASSERT_EQ(AlertRegistry::shared().sheets().size(), 1u);
    EXPECT_EQ(AlertRegistry::shared().topSheet()->shownInView(), &screen);

    ASSERT_TRUE(UserInput::pickRow(*chooser->picker, 2, 0));
    auto* sheet = static_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    // The done button as the user taps it on the toolbar.
    View* doneButton = sheet->toolBar().viewForItem(4);
    ASSERT_NE(doneButton, nullptr);
    ASSERT_TRUE(UserInput::tap(*doneButton));

    EXPECT_EQ(chooser->calls, (std::vector<std::string>{"done tag=7 shown"}));
    EXPECT_EQ(chooser->chosen, "广州");
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

TEST_F(CustomActionSheetTest, CancelTellsOnlyDocancelAndKeepsThePreviousChoice) {
    auto chooser = std::make_shared<CityChooser>();
    auto sheet = chooser->open(chooser, nullptr);
    ASSERT_TRUE(UserInput::pickRow(*chooser->picker, 1, 0));

    ASSERT_TRUE(UserInput::tapBarButton(*sheet->cancelItem()));
    EXPECT_EQ(chooser->calls, (std::vector<std::string>{"docancel tag=7 shown"}));
    EXPECT_EQ(chooser->chosen, "北京");
    EXPECT_FALSE(sheet->isVisible());
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

TEST_F(CustomActionSheetTest, ADelegateAnsweringNothingStillGetsTheSheetDismissed) {
    auto quiet = std::make_shared<CustomActionSheetDelegate>();
    auto sheet = CustomActionSheet::create(100, "", quiet);
    sheet->showInView(nullptr);
    sheet->done();
    EXPECT_FALSE(sheet->isVisible());

    auto unowned = CustomActionSheet::create(100, "", nullptr);
    unowned->showInView(nullptr);
    unowned->docancel();
    EXPECT_FALSE(unowned->isVisible());
}

TEST_F(CustomActionSheetTest, KeepsItsDelegateAliveUntilAnsweredAndNoLonger) {
    auto chooser = std::make_shared<CityChooser>();
    std::weak_ptr<CityChooser> watch = chooser;
    auto sheet = chooser->open(chooser, nullptr);
    sheet.reset();
    chooser.reset();  // the screen goes away under the open sheet

    ASSERT_FALSE(watch.expired());
    auto* shown = static_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    ASSERT_NE(shown, nullptr);
    ASSERT_TRUE(UserInput::tapBarButton(*shown->doneItem()));
    // Told, then let go together with the dismissed sheet.
    EXPECT_TRUE(watch.expired());
    EXPECT_TRUE(AlertRegistry::shared().sheets().empty());
}

TEST_F(CustomActionSheetTest, AScreenKeepingItsSheetCanShowItAgainAfterAnAnswer) {
    auto chooser = std::make_shared<CityChooser>();
    auto sheet = chooser->open(chooser, nullptr);
    ASSERT_TRUE(UserInput::tapBarButton(*sheet->cancelItem()));

    // The sheet no longer holds the screen, yet still reaches it while it lives.
    sheet->showInView(nullptr);
    ASSERT_TRUE(UserInput::pickRow(*chooser->picker, 1, 0));
    ASSERT_TRUE(UserInput::tapBarButton(*sheet->doneItem()));
    EXPECT_EQ(chooser->calls, (std::vector<std::string>{"docancel tag=7 shown", "done tag=7 shown"}));
    EXPECT_EQ(chooser->chosen, "上海");
    EXPECT_EQ(chooser.use_count(), 1);
}

}  // namespace
