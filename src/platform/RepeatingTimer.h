#pragma once

#include "platform/Clock.h"
#include "platform/MainLoop.h"

#include <functional>
#include <memory>

namespace zorlet {

// A repeating main-loop timer with an owner-visible validity, so whoever
// holds it can ask whether it still runs and stop it. Stops when released.
class RepeatingTimer {
public:
    static std::shared_ptr<RepeatingTimer> scheduledTimer(Duration interval, std::function<void()> fire);
    explicit RepeatingTimer(TimerId id, Duration interval) : id_(id), interval_(interval) {}
    ~RepeatingTimer();
    RepeatingTimer(const RepeatingTimer&) = delete;
    RepeatingTimer& operator=(const RepeatingTimer&) = delete;

    bool isValid() const;
    void invalidate();
    Duration timeInterval() const { return interval_; }

private:
    TimerId id_;
    Duration interval_;
    bool invalidated_ = false;
};

}  // namespace zorlet
