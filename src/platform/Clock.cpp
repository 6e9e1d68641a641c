#include "platform/Clock.h"

namespace zorlet {

Clock::Clock() : realStart_(std::chrono::steady_clock::now()) {}

Duration Clock::uptime() const {
    std::lock_guard lock(mutex_);
    if (virtual_) {
        return virtualUptime_;
    }
    return std::chrono::duration_cast<Duration>(std::chrono::steady_clock::now() - realStart_);
}

SystemTime Clock::now() const {
    Duration up = uptime();
    std::lock_guard lock(mutex_);
    if (pinnedAt_) {
        return *pinnedAt_ + (up - uptimeAtPin_);
    }
    return std::chrono::system_clock::now();
}

std::string Clock::timeZone() const {
    std::lock_guard lock(mutex_);
    return timeZone_;
}

bool Clock::isVirtual() const {
    std::lock_guard lock(mutex_);
    return virtual_;
}

void Clock::setVirtual(bool isVirtual) {
    Duration up = uptime();
    std::lock_guard lock(mutex_);
    if (virtual_ == isVirtual) {
        return;
    }
    virtual_ = isVirtual;
    if (isVirtual) {
        virtualUptime_ = up;
        // Wall time stands still with virtual time too.
        if (!pinnedAt_) {
            pinnedAt_ = std::chrono::system_clock::now();
            uptimeAtPin_ = up;
            autoPinned_ = true;
        }
    } else {
        if (autoPinned_) {
            pinnedAt_.reset();
            autoPinned_ = false;
        }
        // Continue from where virtual time stood so uptime never runs backwards.
        realStart_ = std::chrono::steady_clock::now() - up;
    }
}

void Clock::advanceBy(Duration delta) {
    std::lock_guard lock(mutex_);
    if (virtual_ && delta.count() > 0) {
        virtualUptime_ += delta;
    }
}

void Clock::pinNow(SystemTime at) {
    Duration up = uptime();
    std::lock_guard lock(mutex_);
    pinnedAt_ = at;
    uptimeAtPin_ = up;
    autoPinned_ = false;
}

void Clock::unpinNow() {
    std::lock_guard lock(mutex_);
    pinnedAt_.reset();
    autoPinned_ = false;
    if (virtual_) {
        pinnedAt_ = std::chrono::system_clock::now();
        uptimeAtPin_ = virtualUptime_;
        autoPinned_ = true;
    }
}

void Clock::setTimeZone(std::string zone) {
    std::lock_guard lock(mutex_);
    timeZone_ = std::move(zone);
}

}  // namespace zorlet
