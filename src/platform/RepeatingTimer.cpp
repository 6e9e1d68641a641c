#include "platform/RepeatingTimer.h"

namespace zorlet {

std::shared_ptr<RepeatingTimer> RepeatingTimer::scheduledTimer(Duration interval,
                                                               std::function<void()> fire) {
    TimerId id = MainLoop::main().runEvery(interval, std::move(fire));
    return std::make_shared<RepeatingTimer>(id, interval);
}

RepeatingTimer::~RepeatingTimer() {
    invalidate();
}

bool RepeatingTimer::isValid() const {
    // The loop may have dropped every timer (a test starting quiet) without telling us.
    return !invalidated_ && MainLoop::main().isScheduled(id_);
}

void RepeatingTimer::invalidate() {
    if (invalidated_) {
        return;
    }
    invalidated_ = true;
    MainLoop::main().cancel(id_);
}

}  // namespace zorlet
