#include "platform/MainLoop.h"

#include "platform/Log.h"

#include <uv.h>

#include <algorithm>
#include <future>

namespace zorlet {

namespace {

struct BackgroundWork {
    uv_work_t request;
    std::function<void()> work;
    std::function<void()> done;
};

}  // namespace

MainLoop::MainLoop()
    : loop_(std::make_unique<uv_loop_t>()),
      async_(std::make_unique<uv_async_t>()),
      postedIdle_(std::make_unique<uv_idle_t>()),
      timer_(std::make_unique<uv_timer_t>()),
      waitTick_(std::make_unique<uv_timer_t>()),
      waitCheck_(std::make_unique<uv_prepare_t>()),
      loopThread_(std::this_thread::get_id()) {
    uv_loop_init(loop_.get());
    loop_->data = this;
    uv_async_init(loop_.get(), async_.get(), &MainLoop::onAsync);
    async_->data = this;
    uv_idle_init(loop_.get(), postedIdle_.get());
    postedIdle_->data = this;
    uv_timer_init(loop_.get(), timer_.get());
    timer_->data = this;
    // Only the async handle keeps run() alive; a pending timer alone must not.
    uv_unref(reinterpret_cast<uv_handle_t*>(timer_.get()));
    uv_timer_init(loop_.get(), waitTick_.get());
    uv_prepare_init(loop_.get(), waitCheck_.get());
}

MainLoop::~MainLoop() {
    uv_close(reinterpret_cast<uv_handle_t*>(async_.get()), nullptr);
    uv_close(reinterpret_cast<uv_handle_t*>(postedIdle_.get()), nullptr);
    uv_close(reinterpret_cast<uv_handle_t*>(timer_.get()), nullptr);
    uv_close(reinterpret_cast<uv_handle_t*>(waitTick_.get()), nullptr);
    uv_close(reinterpret_cast<uv_handle_t*>(waitCheck_.get()), nullptr);
    uv_run(loop_.get(), UV_RUN_NOWAIT);
    if (uv_loop_close(loop_.get()) != 0) {
        // Handles owned by others (transfers in flight) are still open; let them go with the process.
        loop_.release();
    }
}

MainLoop& MainLoop::main() {
    // Never destroyed: handlers and transfers may still reference it during static teardown.
    static MainLoop* loop = new MainLoop();
    return *loop;
}

bool MainLoop::isLoopThread() const {
    return std::this_thread::get_id() == loopThread_;
}

void MainLoop::post(Task task) {
    {
        std::lock_guard lock(postMutex_);
        posted_.push_back(std::move(task));
    }
    if (isLoopThread()) {
        uv_idle_start(postedIdle_.get(), &MainLoop::onPostedIdle);
    } else {
        uv_async_send(async_.get());
    }
}

void MainLoop::runOnLoopAndWait(const Task& task) {
    if (isLoopThread()) {
        task();
        return;
    }
    std::promise<void> done;
    auto finished = done.get_future();
    post([&task, &done] {
        task();
        done.set_value();
    });
    finished.wait();
}

void MainLoop::onAsync(uv_async_t* handle) {
    static_cast<MainLoop*>(handle->data)->drainPosted();
}

void MainLoop::onPostedIdle(uv_idle_t* handle) {
    uv_idle_stop(handle);
    static_cast<MainLoop*>(handle->data)->drainPosted();
}

void MainLoop::drainPosted() {
    // Tasks posted while draining run in the next round, so a task that posts
    // itself again cannot starve I/O.
    std::deque<Task> batch;
    {
        std::lock_guard lock(postMutex_);
        batch.swap(posted_);
    }
    for (auto& task : batch) {
        if (task) {
            task();
        }
    }
}

TimerId MainLoop::runAfter(Duration delay, Task task) {
    TimerId id = nextTimerId_++;
    Duration due = clock_.uptime() + std::max(delay, Duration(0));
    timers_.emplace(due, Timer{id, Duration(0), std::move(task)});
    armRealTimer();
    return id;
}

TimerId MainLoop::runEvery(Duration interval, Task task) {
    TimerId id = nextTimerId_++;
    interval = std::max(interval, Duration(1));
    timers_.emplace(clock_.uptime() + interval, Timer{id, interval, std::move(task)});
    armRealTimer();
    return id;
}

void MainLoop::cancel(TimerId id) {
    for (auto it = timers_.begin(); it != timers_.end(); ++it) {
        if (it->second.id == id) {
            timers_.erase(it);
            break;
        }
    }
    armRealTimer();
}

bool MainLoop::isScheduled(TimerId id) const {
    return std::any_of(timers_.begin(), timers_.end(),
                       [id](const auto& entry) { return entry.second.id == id; });
}

void MainLoop::cancelAll() {
    timers_.clear();
    std::lock_guard lock(postMutex_);
    posted_.clear();
}

void MainLoop::fireTimer(TimerQueue::iterator it) {
    Duration due = it->first;
    Timer timer = std::move(it->second);
    timers_.erase(it);
    Task task;
    if (timer.interval.count() > 0) {
        Duration next = due + timer.interval;
        if (!clock_.isVirtual() && next <= clock_.uptime()) {
            // Late on a real clock: skip the missed beats instead of firing a burst.
            next = clock_.uptime() + timer.interval;
        }
        task = timer.task;
        timers_.emplace(next, std::move(timer));
    } else {
        task = std::move(timer.task);
    }
    if (task) {
        task();
    }
}

void MainLoop::fireDueTimers() {
    // Only timers due now; ones scheduled by these tasks for "now" run in the next round.
    Duration now = clock_.uptime();
    std::vector<TimerId> due;
    for (auto& [when, timer] : timers_) {
        if (when > now) {
            break;
        }
        due.push_back(timer.id);
    }
    for (TimerId id : due) {
        auto it =
            std::find_if(timers_.begin(), timers_.end(), [id](const auto& e) { return e.second.id == id; });
        if (it != timers_.end() && it->first <= now) {
            fireTimer(it);
        }
    }
    armRealTimer();
}

void MainLoop::onTimer(uv_timer_t* handle) {
    static_cast<MainLoop*>(handle->data)->fireDueTimers();
}

void MainLoop::armRealTimer() {
    if (timers_.empty()) {
        uv_timer_stop(timer_.get());
        return;
    }
    Duration wait = timers_.begin()->first - clock_.uptime();
    if (clock_.isVirtual() && wait.count() > 0) {
        // Virtual time only moves through advance().
        uv_timer_stop(timer_.get());
        return;
    }
    uv_timer_start(timer_.get(), &MainLoop::onTimer,
                   static_cast<uint64_t>(std::max<long long>(wait.count(), 0)), 0);
}

void MainLoop::runInBackground(std::function<void()> work, std::function<void()> done) {
    if (!isLoopThread()) {
        post([this, work = std::move(work), done = std::move(done)]() mutable {
            runInBackground(std::move(work), std::move(done));
        });
        return;
    }
    auto* item = new BackgroundWork{{}, std::move(work), std::move(done)};
    item->request.data = item;
    ++backgroundInFlight_;
    int rc = uv_queue_work(
        loop_.get(), &item->request,
        [](uv_work_t* request) {
            auto* item = static_cast<BackgroundWork*>(request->data);
            if (item->work) {
                item->work();
            }
        },
        [](uv_work_t* request, int) {
            std::unique_ptr<BackgroundWork> item(static_cast<BackgroundWork*>(request->data));
            --static_cast<MainLoop*>(request->loop->data)->backgroundInFlight_;
            if (item->done) {
                item->done();
            }
        });
    if (rc != 0) {
        --backgroundInFlight_;
        log().error("could not queue background work: {}", uv_strerror(rc));
        std::unique_ptr<BackgroundWork> owned(item);
        if (owned->work) {
            owned->work();
        }
        if (owned->done) {
            owned->done();
        }
    }
}

bool MainLoop::finishBackgroundWork(Duration realTimeout) {
    return runUntil([this] { return backgroundInFlight_ == 0; }, realTimeout);
}

void MainLoop::run() {
    stopRequested_ = false;
    while (!stopRequested_) {
        uv_run(loop_.get(), UV_RUN_DEFAULT);
    }
}

void MainLoop::stop() {
    if (!isLoopThread()) {
        post([this] { stop(); });
        return;
    }
    stopRequested_ = true;
    uv_stop(loop_.get());
}

void MainLoop::runPending() {
    drainPosted();
    fireDueTimers();
    uv_run(loop_.get(), UV_RUN_NOWAIT);
}

bool MainLoop::runUntil(const std::function<bool()>& condition, Duration realTimeout) {
    if (condition()) {
        return true;
    }
    auto deadline = std::chrono::steady_clock::now() + realTimeout;
    const bool nested = waiting_;
    uv_timer_t* tick = waitTick_.get();
    uv_prepare_t* beforeSleep = waitCheck_.get();
    if (nested) {
        tick = new uv_timer_t;
        uv_timer_init(loop_.get(), tick);
        beforeSleep = new uv_prepare_t;
        uv_prepare_init(loop_.get(), beforeSleep);
    }
    waiting_ = true;
    // A short real tick guarantees uv_run returns so the condition and the
    // deadline are checked even when nothing else happens.
    uv_timer_start(
        tick, [](uv_timer_t*) {}, 5, 5);
    // What a timer callback does can make the condition hold (a transfer that
    // libcurl finishes inside its timeout call); checked just before the loop
    // would sleep, the loop does not wait for the next tick to say so.
    beforeSleep->data = const_cast<std::function<bool()>*>(&condition);
    uv_prepare_start(beforeSleep, [](uv_prepare_t* handle) {
        if ((*static_cast<const std::function<bool()>*>(handle->data))()) {
            uv_stop(handle->loop);
        }
    });
    bool held = false;
    while (true) {
        uv_run(loop_.get(), UV_RUN_ONCE);
        if (condition()) {
            held = true;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            break;
        }
    }
    uv_timer_stop(tick);
    uv_prepare_stop(beforeSleep);
    waiting_ = nested;
    if (nested) {
        uv_close(reinterpret_cast<uv_handle_t*>(tick),
                 [](uv_handle_t* handle) { delete reinterpret_cast<uv_timer_t*>(handle); });
        uv_close(reinterpret_cast<uv_handle_t*>(beforeSleep),
                 [](uv_handle_t* handle) { delete reinterpret_cast<uv_prepare_t*>(handle); });
    }
    return held;
}

void MainLoop::advance(Duration delta) {
    if (!clock_.isVirtual()) {
        log().warn("advance() needs virtual time; ignored");
        runPending();
        return;
    }
    Duration target = clock_.uptime() + std::max(delta, Duration(0));
    while (!timers_.empty() && timers_.begin()->first <= target) {
        Duration due = timers_.begin()->first;
        Duration now = clock_.uptime();
        if (due > now) {
            clock_.advanceBy(due - now);
        }
        fireTimer(timers_.begin());
        drainPosted();
    }
    Duration now = clock_.uptime();
    if (target > now) {
        clock_.advanceBy(target - now);
    }
    runPending();
}

}  // namespace zorlet
