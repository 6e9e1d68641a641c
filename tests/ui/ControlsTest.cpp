#include "UiTestSupport.h"

#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/MapView.h"
#include "ui/PickerView.h"
#include "ui/PopoverController.h"
#include "ui/PopupPresenter.h"
#include "ui/Renderer.h"
#include "ui/SegmentedControl.h"
#include "ui/Switch.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include <cmath>

using namespace zorlet;
using namespace std::chrono_literals;

namespace {

using ControlsTest = zorlet::test::UiTest;

class Cities : public PickerViewDataSource, public PickerViewDelegate {
public:
    std::vector<std::vector<std::string>> columns{{"北京", "上海", "广东"}, {"东城", "西城"}};
    std::vector<std::pair<int, int>> picked;
    int numberOfComponents(PickerView&) override { return static_cast<int>(columns.size()); }
    int numberOfRows(PickerView&, int c) override {
        return static_cast<int>(columns[static_cast<std::size_t>(c)].size());
    }
    std::string titleForRow(PickerView&, int row, int c) override {
        return columns[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)];
    }
    void didSelectRow(PickerView&, int row, int c) override { picked.push_back({row, c}); }
};

TEST_F(ControlsTest, PickersSelectRowsAndTellTheDelegateOnlyForUserPicks) {
    Cities cities;
    PickerView picker;
    picker.setDataSource(&cities);
    picker.setDelegate(&cities);
    picker.selectRow(2, 0, false);
    EXPECT_EQ(picker.selectedRow(0), 2);
    EXPECT_TRUE(cities.picked.empty());
    ASSERT_TRUE(UserInput::pickRow(picker, 1, 1));
    EXPECT_EQ(cities.picked, (std::vector<std::pair<int, int>>{{1, 1}}));
    EXPECT_FALSE(UserInput::pickRow(picker, 5, 1));
    EXPECT_FALSE(UserInput::pickRow(picker, 0, 2));

    // Fewer rows after a reload keep the selection in range.
    cities.columns[1] = {"越秀"};
    picker.reloadComponent(1);
    EXPECT_EQ(picker.selectedRow(1), 0);
    cities.columns[1].clear();
    picker.reloadAllComponents();
    EXPECT_EQ(picker.selectedRow(1), -1);
}

TEST_F(ControlsTest, APickerMarksTheSelectedRowsOnlyWhenAskedTo) {
    Cities cities;
    PickerView picker(Rect(0, 0, 320, PickerView::kDefaultHeight));
    picker.setDataSource(&cities);
    picker.setDelegate(&cities);
    // The band's edge, just inside the wheel's left margin, away from any title.
    auto edgeInk = [&] { return Renderer::renderView(picker, 1)->pixelAt(7, 100); };
    auto plain = edgeInk();
    picker.setShowsSelectionIndicator(true);
    EXPECT_NE(edgeInk(), plain);
    picker.setShowsSelectionIndicator(false);
    EXPECT_EQ(edgeInk(), plain);
}

TEST_F(ControlsTest, DatePickersStayWithinTheirLimits) {
    DatePicker picker;
    picker.setDatePickerMode(DatePicker::Mode::Date);
    SystemTime now = MainLoop::main().clock().now();
    picker.setMinimumDate(now);
    picker.setMaximumDate(now + 24h * 30);
    int changes = 0;
    picker.addTarget(ValueChanged, [&](Control&) { ++changes; });
    UserInput::pickDate(picker, now - 24h);
    EXPECT_EQ(picker.date(), now);
    UserInput::pickDate(picker, now + 24h * 365);
    EXPECT_EQ(picker.date(), now + 24h * 30);
    EXPECT_EQ(changes, 2);
    picker.setDate(now + 24h);
    EXPECT_EQ(changes, 2);
}

TEST_F(ControlsTest, SwitchesAndSegmentsReportValueChanges) {
    Switch toggle;
    int flips = 0;
    toggle.addTarget(ValueChanged, [&](Control&) { ++flips; });
    UserInput::toggleSwitch(toggle);
    EXPECT_TRUE(toggle.isOn());
    toggle.setOn(false);
    EXPECT_EQ(flips, 1);

    SegmentedControl segments({"最新", "最热"});
    segments.setFrame(Rect(0, 0, 120, 30));
    int chosen = -1;
    segments.addTarget(
        ValueChanged, [&](Control& c) { chosen = static_cast<SegmentedControl&>(c).selectedSegmentIndex(); });
    segments.handleTap({90, 15});
    EXPECT_EQ(chosen, 1);
    EXPECT_TRUE(UserInput::chooseSegment(segments, 0));
    EXPECT_EQ(segments.selectedSegmentIndex(), 0);
    EXPECT_FALSE(UserInput::chooseSegment(segments, 2));
}

TEST_F(ControlsTest, APopoverOpensUnderItsButtonAndTellsItsDelegateHoweverItCloses) {
    auto window = std::make_shared<Window>();
    window->makeKeyAndVisible();
    auto button = std::make_shared<Button>(Rect(100, 30, 80, 30));
    window->addSubview(button);
    struct Content : ViewController {
        int appeared = 0;
        void viewDidAppear(bool) override { ++appeared; }
    };
    auto content = std::make_shared<Content>();
    struct Delegate : PopoverControllerDelegate {
        int dismissed = 0;
        void popoverControllerDidDismissPopover(PopoverController&) override { ++dismissed; }
    } delegate;
    auto popover = std::make_shared<PopoverController>(content);
    popover->setContentSize({150, 256});
    popover->setDelegate(&delegate);
    popover->presentPopoverFromView(button.get(), true);
    ASSERT_TRUE(popover->isPopoverVisible());
    EXPECT_EQ(content->appeared, 1);
    Rect box = popover->popoverFrame();
    EXPECT_GE(box.y(), button->frame().maxY());
    EXPECT_EQ(content->view().frame().size, (Size{150, 256}));

    // A tap inside the box leaves it open; outside closes it.
    UserInput::tapAt(*window, {box.midX(), box.midY()});
    EXPECT_TRUE(popover->isPopoverVisible());
    UserInput::tapAt(*window, {10, 400});
    EXPECT_FALSE(popover->isPopoverVisible());
    EXPECT_EQ(delegate.dismissed, 1);

    popover->presentPopoverFromView(button.get(), false);
    popover->dismissPopover(true);
    EXPECT_EQ(delegate.dismissed, 2);
    EXPECT_EQ(window->subviews().size(), 1u);
}

TEST_F(ControlsTest, APopupSitsCentredAndClosesOnABackgroundTap) {
    auto window = std::make_shared<Window>();
    window->makeKeyAndVisible();
    PopupPresenter presenter;
    bool closed = false;
    presenter.setOnDismiss([&] { closed = true; });
    presenter.presentPopupView(std::make_shared<View>(Rect(0, 0, 200, 100)), true);
    ASSERT_TRUE(presenter.isPresented());
    EXPECT_EQ(presenter.popupView()->frame(), Rect(60, 190, 200, 100));
    UserInput::tapAt(*window, {160, 240});
    EXPECT_TRUE(presenter.isPresented());
    UserInput::tapAt(*window, {10, 10});
    EXPECT_FALSE(presenter.isPresented());
    EXPECT_TRUE(closed);
}

TEST_F(ControlsTest, MapsFitRegionsAndGetUserLocationsLater) {
    struct Delegate : MapViewDelegate {
        std::vector<Coordinate> fixes;
        void mapViewDidUpdateUserLocation(MapView&, Coordinate c) override { fixes.push_back(c); }
    } delegate;
    MapView map(Rect(0, 0, 320, 160));
    map.setDelegate(&delegate);
    auto region = CoordinateRegion::makeWithDistance({39.9, 116.4}, 1000, 1000);
    EXPECT_NEAR(region.span.latitudeDelta, 1000 / 111320.0, 1e-9);
    auto fitted = map.regionThatFits(region);
    // Twice as wide as tall on screen: the width doubles in metres, the height stays.
    EXPECT_NEAR(fitted.span.latitudeDelta, region.span.latitudeDelta, 1e-12);
    EXPECT_NEAR(fitted.span.longitudeDelta, 2 * region.span.longitudeDelta, 1e-9);
    map.setRegion(fitted, true);
    EXPECT_TRUE(map.lastRegionChangeAnimated());

    UserLocationSource::shared().setLocation({31.2, 121.5});
    map.setShowsUserLocation(true);
    EXPECT_TRUE(delegate.fixes.empty());  // delivered by the loop, not at once
    MainLoop::main().runPending();
    ASSERT_EQ(delegate.fixes.size(), 1u);
    EXPECT_EQ(delegate.fixes[0], (Coordinate{31.2, 121.5}));
    map.setShowsUserLocation(false);
    UserLocationSource::shared().setLocation({0, 0});
    MainLoop::main().runPending();
    EXPECT_EQ(delegate.fixes.size(), 1u);
}

}  // namespace
