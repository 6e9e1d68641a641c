#include "UiTestSupport.h"

#include "ui/ImageView.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include <atomic>
#include <chrono>
#include <thread>

using namespace zorlet;
using namespace std::chrono_literals;

namespace {

using ProgressHUDTest = zorlet::test::UiTest;

TEST_F(ProgressHUDTest, ACheckMarkHUDHidesAfterTwoSecondsOfVirtualTime) {
    auto window = std::make_shared<Window>();
    std::weak_ptr<ProgressHUD> weak;
    {
        auto hud = ProgressHUD::showHUDAddedTo(window.get(), true);
        hud->setLabelText("发布中...");
        hud->setYOffset(-77);
        weak = hud;
    }
    ProgressHUD* hud = ProgressHUD::HUDForView(window.get());
    ASSERT_NE(hud, nullptr);
    EXPECT_TRUE(hud->isShown());
    EXPECT_EQ(hud->frame(), window->frame());
    EXPECT_LT(hud->boxFrame().midY(), window->frame().midY());

    hud->setCustomView(std::make_shared<ImageView>(ImageAsset::named("37x-Checkmark.png")));
    hud->setMode(ProgressHUD::Mode::CustomView);
    hud->setLabelText("发布成功");
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(true, 2000ms);

    MainLoop::main().advance(1999ms);
    EXPECT_TRUE(hud->isShown());
    MainLoop::main().advance(1ms);
    EXPECT_EQ(ProgressHUD::HUDForView(window.get()), nullptr);
    EXPECT_TRUE(weak.expired());
}

TEST_F(ProgressHUDTest, ShowingAgainCancelsAPendingHideAndAShownHUDBlocksTaps) {
    auto window = std::make_shared<Window>();
    auto button = std::make_shared<Control>(Rect(0, 100, 100, 44));
    int taps = 0;
    button->addTarget(TouchUpInside, [&](Control&) { ++taps; });
    window->addSubview(button);
    auto hud = ProgressHUD::showHUDAddedTo(window.get(), false);
    hud->setDimBackground(true);
    hud->hide(true, 2000ms);
    hud->show(true);
    MainLoop::main().advance(5000ms);
    EXPECT_TRUE(hud->isShown());
    EXPECT_FALSE(UserInput::tap(*button));
    EXPECT_EQ(taps, 0);
    EXPECT_TRUE(ProgressHUD::hideHUDForView(window.get(), true));
    EXPECT_TRUE(UserInput::tap(*button));
    EXPECT_EQ(taps, 1);
    EXPECT_FALSE(ProgressHUD::hideHUDForView(window.get(), true));
}

TEST_F(ProgressHUDTest, WorkRunsOffTheMainThreadWhileShown) {
    auto window = std::make_shared<Window>();
    auto hud = ProgressHUD::showHUDAddedTo(window.get(), true);
    std::atomic<bool> ranElsewhere{false};
    bool done = false;
    auto mainThread = std::this_thread::get_id();
    hud->showWhileExecuting([&] { ranElsewhere = std::this_thread::get_id() != mainThread; },
                            [&] {
                                done = true;
                                EXPECT_FALSE(hud->isShown());
                            },
                            true);
    EXPECT_TRUE(hud->isShown());
    ASSERT_TRUE(MainLoop::main().runUntil([&] { return done; }));
    EXPECT_TRUE(ranElsewhere);
}

TEST_F(ProgressHUDTest, AHUDDestroyedBeforeItsDelayLeavesNoTimerBehind) {
    auto window = std::make_shared<Window>();
    std::size_t timersBefore = MainLoop::main().pendingTimerCount();
    {
        auto hud = std::make_shared<ProgressHUD>(window.get());
        hud->show(false);
        hud->hide(true, 1000ms);
        EXPECT_EQ(MainLoop::main().pendingTimerCount(), timersBefore + 1);
    }
    EXPECT_EQ(MainLoop::main().pendingTimerCount(), timersBefore);
    MainLoop::main().advance(2000ms);
}

}  // namespace
