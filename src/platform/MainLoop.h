#pragma once

#include "platform/Clock.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

struct uv_loop_s;
struct uv_async_s;
struct uv_timer_s;
struct uv_prepare_s;
struct uv_idle_s;

namespace zorlet {

using TimerId = std::uint64_t;

// The main loop: every screen, handler and timer runs here. Built on libuv;
// I/O (the HTTP transport) is real, timers follow the loop's Clock so they can
// run under virtual time.
class MainLoop {
public:
    using Task = std::function<void()>;

    MainLoop();
    ~MainLoop();
    MainLoop(const MainLoop&) = delete;
    MainLoop& operator=(const MainLoop&) = delete;

    // The process-wide loop, created on first use by the thread that will run it.
    static MainLoop& main();

    uv_loop_s* uvLoop() const { return loop_.get(); }
    Clock& clock() { return clock_; }
    bool isLoopThread() const;

    // Thread-safe: runs `task` on the loop thread soon, in posting order.
    void post(Task task);
    // Runs `task` on the loop thread and returns when it is done: at once on
    // the loop thread, else by posting and waiting. Never call it from a
    // worker the loop thread is itself waiting for.
    void runOnLoopAndWait(const Task& task);
    // Loop thread only.
    TimerId runAfter(Duration delay, Task task);
    TimerId runEvery(Duration interval, Task task);
    void cancel(TimerId id);
    bool isScheduled(TimerId id) const;
    std::size_t pendingTimerCount() const { return timers_.size(); }
    // Drops every timer and posted task; tests start from a quiet loop.
    void cancelAll();

    // Runs `work` on the worker pool, then `done` on the loop thread.
    void runInBackground(std::function<void()> work, std::function<void()> done);
    std::size_t backgroundWorkInFlight() const { return backgroundInFlight_; }
    // Runs the loop until every background job and its `done` have run, or
    // `realTimeout` passes; true when none is left. A program calls it before
    // it returns from main, so no worker still runs (and logs, or touches a
    // shared cache) while the process's statics are torn down.
    bool finishBackgroundWork(Duration realTimeout = Duration(10000));

    // Runs until stop() is called.
    void run();
    void stop();
    // Processes what is ready now (posted tasks, finished I/O, due timers) without blocking.
    void runPending();
    // Runs the loop until `condition` holds or `realTimeout` passes; true when it held.
    // Tests use it to wait for real I/O; it does not advance virtual time.
    bool runUntil(const std::function<bool()>& condition, Duration realTimeout = Duration(10000));

    // Virtual time: advances the clock by `delta`, firing due timers in time
    // order (each sees the clock at its own due time), then runs pending tasks.
    void advance(Duration delta);

private:
    struct Timer {
        TimerId id;
        Duration interval;  // zero = once
        Task task;
    };
    using TimerQueue = std::multimap<Duration, Timer>;

    static void onAsync(uv_async_s* handle);
    static void onPostedIdle(uv_idle_s* handle);
    static void onTimer(uv_timer_s* handle);
    void drainPosted();
    void fireDueTimers();
    void fireTimer(TimerQueue::iterator it);
    void armRealTimer();

    std::unique_ptr<uv_loop_s> loop_;
    std::unique_ptr<uv_async_s> async_;
    // Tasks posted from the loop's own thread need no wake-up through the
    // kernel: the idle handle keeps the next round from sleeping instead.
    std::unique_ptr<uv_idle_s> postedIdle_;
    std::unique_ptr<uv_timer_s> timer_;
    // The outermost runUntil's tick and before-sleep check, kept between
    // waits; a wait inside a wait makes its own.
    std::unique_ptr<uv_timer_s> waitTick_;
    std::unique_ptr<uv_prepare_s> waitCheck_;
    bool waiting_ = false;
    std::thread::id loopThread_;
    Clock clock_;

    std::mutex postMutex_;
    std::deque<Task> posted_;

    TimerQueue timers_;
    TimerId nextTimerId_ = 1;
    bool stopRequested_ = false;
    // Loop thread only: counted when queued, released as its `done` starts.
    std::size_t backgroundInFlight_ = 0;
};

}  // namespace zorlet
