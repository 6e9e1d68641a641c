#include "support/LoopTest.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

class MainLoopTest : public LoopTest {};

TEST_F(MainLoopTest, TimersFireInDueOrderUnderVirtualTimeWithoutWaiting) {
    std::vector<std::string> fired;
    loop().runAfter(3000ms, [&] { fired.push_back("c@" + std::to_string(loop().clock().uptime().count())); });
    Duration start = loop().clock().uptime();
    loop().runAfter(1000ms, [&] { fired.push_back("a"); });
    loop().runAfter(2000ms, [&] { fired.push_back("b"); });

    auto realStart = std::chrono::steady_clock::now();
    advance(2500ms);
    EXPECT_EQ(fired, (std::vector<std::string>{"a", "b"}));
    advance(1h);
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, 1s);
    ASSERT_EQ(fired.size(), 3u);
    // Each timer sees the clock at its own due time, not at the end of the advance.
    EXPECT_EQ(fired[2], "c@" + std::to_string((start + 3000ms).count()));
}

TEST_F(MainLoopTest, RepeatingTimerFiresOncePerIntervalAndStopsWhenCancelled) {
    int beats = 0;
    TimerId id = loop().runEvery(30s, [&] { ++beats; });
    advance(29s);
    EXPECT_EQ(beats, 0);
    advance(1s);
    EXPECT_EQ(beats, 1);
    advance(90s);
    EXPECT_EQ(beats, 4);
    loop().cancel(id);
    EXPECT_FALSE(loop().isScheduled(id));
    advance(300s);
    EXPECT_EQ(beats, 4);
}

TEST_F(MainLoopTest, TimerCanCancelItselfAndScheduleOthers) {
    int beats = 0;
    bool follower = false;
    TimerId id = 0;
    id = loop().runEvery(1s, [&] {
        if (++beats == 2) {
            loop().cancel(id);
            loop().runAfter(500ms, [&] { follower = true; });
        }
    });
    advance(10s);
    EXPECT_EQ(beats, 2);
    EXPECT_TRUE(follower);
    EXPECT_EQ(loop().pendingTimerCount(), 0u);
}

TEST_F(MainLoopTest, TasksPostedFromOtherThreadsRunOnTheLoopInOrder) {
    std::vector<int> seen;
    std::atomic<bool> wrongThread{false};
    std::thread poster([&] {
        for (int i = 0; i < 100; ++i) {
            loop().post([&, i] {
                if (!loop().isLoopThread()) {
                    wrongThread = true;
                }
                seen.push_back(i);
            });
        }
    });
    poster.join();
    ASSERT_TRUE(waitUntil([&] { return seen.size() == 100; }));
    EXPECT_FALSE(wrongThread);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(seen[i], i);
    }
}

TEST_F(MainLoopTest, BackgroundWorkRunsOffTheLoopAndHandsBackOnIt) {
    std::thread::id workThread;
    bool doneOnLoop = false;
    bool done = false;
    loop().runInBackground([&] { workThread = std::this_thread::get_id(); },
                           [&] {
                               doneOnLoop = loop().isLoopThread();
                               done = true;
                           });
    ASSERT_TRUE(waitUntil([&] { return done; }));
    EXPECT_NE(workThread, std::this_thread::get_id());
    EXPECT_TRUE(doneOnLoop);
}

TEST_F(MainLoopTest, FinishingBackgroundWorkWaitsForEveryJobAndItsHandBack) {
    std::atomic<int> worked{0};
    int handedBack = 0;
    for (int i = 0; i < 4; ++i) {
        loop().runInBackground(
            [&] {
                std::this_thread::sleep_for(20ms);
                ++worked;
            },
            [&] { ++handedBack; });
    }
    EXPECT_EQ(loop().backgroundWorkInFlight(), 4u);
    ASSERT_TRUE(loop().finishBackgroundWork());
    EXPECT_EQ(worked.load(), 4);
    EXPECT_EQ(handedBack, 4);
    EXPECT_EQ(loop().backgroundWorkInFlight(), 0u);

    // A job that outlasts the wait is reported, and still counted.
    std::atomic<bool> release{false};
    loop().runInBackground(
        [&] {
            while (!release) {
                std::this_thread::sleep_for(1ms);
            }
        },
        [] {});
    EXPECT_FALSE(loop().finishBackgroundWork(30ms));
    EXPECT_EQ(loop().backgroundWorkInFlight(), 1u);
    release = true;
    EXPECT_TRUE(loop().finishBackgroundWork());
}

TEST_F(MainLoopTest, WallClockCanBePinnedAndMovesWithVirtualTime) {
    auto saturday = std::chrono::sys_days{std::chrono::year{2026} / 12 / 12} + 1h;  // 09:00 in Shanghai
    loop().clock().pinNow(saturday);
    advance(30s);
    EXPECT_EQ(loop().clock().now(), saturday + 30s);
}

TEST(MainLoopRealTime, RunStopsWhenAskedFromAnotherThread) {
    auto& loop = MainLoop::main();
    bool ran = false;
    loop.runAfter(Duration(20), [&] {
        ran = true;
        std::thread([&] { loop.stop(); }).detach();
    });
    loop.run();
    EXPECT_TRUE(ran);
}

// Tasks a task posts (request completions hand over this way) must run in
// the next round on their own, not when something else happens to wake the loop.
TEST(MainLoopRealTime, TasksPostedOnTheLoopRunWithoutAWakeUpFromOutside) {
    auto& loop = MainLoop::main();
    int count = 0;
    std::function<void()> step = [&] {
        if (++count == 1000) {
            loop.stop();
        } else {
            loop.post(step);
        }
    };
    std::atomic<bool> finished = false;
    std::thread watchdog([&] {
        for (int i = 0; i < 300 && !finished; ++i) {
            std::this_thread::sleep_for(10ms);
        }
        if (!finished) {
            loop.stop();
        }
    });
    loop.post(step);
    loop.run();
    finished = true;
    watchdog.join();
    EXPECT_EQ(count, 1000);
}

// A handler that itself waits (a modal step inside a wait) must get its own
// wake-ups: the inner wait ends on its condition, the outer one still on its own.
TEST(MainLoopRealTime, AWaitInsideAWaitEndsEachOnItsOwnCondition) {
    auto& loop = MainLoop::main();
    std::atomic<bool> innerReady = false;
    std::atomic<bool> outerReady = false;
    bool innerHeld = false;
    loop.post([&] {
        std::thread([&] {
            std::this_thread::sleep_for(20ms);
            innerReady = true;
        }).detach();
        innerHeld = loop.runUntil([&] { return innerReady.load(); }, Duration(5000));
        std::thread([&] {
            std::this_thread::sleep_for(20ms);
            outerReady = true;
        }).detach();
    });
    EXPECT_TRUE(loop.runUntil([&] { return outerReady.load(); }, Duration(5000)));
    EXPECT_TRUE(innerHeld);
    // The waits leave nothing running that would wake an idle loop.
    EXPECT_FALSE(loop.runUntil([] { return false; }, Duration(30)));
    EXPECT_TRUE(loop.runUntil([] { return true; }, Duration(30)));
}

}  // namespace
}  // namespace zorlet::test
