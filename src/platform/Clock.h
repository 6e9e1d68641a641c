#pragma once

#include <chrono>
#include <mutex>
#include <optional>
#include <string>

namespace zorlet {

using Duration = std::chrono::milliseconds;
using SystemTime = std::chrono::system_clock::time_point;

// The one source of time. Timers run on `uptime()`; dates shown to the user
// come from `now()` in `timeZone()`. In virtual mode neither moves unless a
// test (or the headless host) advances it, so time-dependent behaviour is
// reproducible without sleeping.
class Clock {
public:
    Clock();

    Duration uptime() const;
    SystemTime now() const;
    std::string timeZone() const;

    bool isVirtual() const;
    // Entering virtual mode also stops the wall clock (unless pinned already).
    void setVirtual(bool isVirtual);
    // Virtual mode only: moves both uptime and wall time forward.
    void advanceBy(Duration delta);

    // Pins the wall clock: `now()` is `at` plus whatever virtual time passes afterwards.
    void pinNow(SystemTime at);
    void unpinNow();
    // An IANA zone name ("Asia/Shanghai"); empty means the system's zone.
    void setTimeZone(std::string zone);

private:
    mutable std::mutex mutex_;
    bool virtual_ = false;
    Duration virtualUptime_{0};
    std::chrono::steady_clock::time_point realStart_;
    std::optional<SystemTime> pinnedAt_;
    Duration uptimeAtPin_{0};
    bool autoPinned_ = false;
    std::string timeZone_;
};

}  // namespace zorlet
