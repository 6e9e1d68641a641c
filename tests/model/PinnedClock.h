#pragma once

#include "platform/Calendar.h"
#include "platform/MainLoop.h"

#include <string>

namespace zorlet::test {

// Pins the main clock's "now" (virtual, so it does not move) and its zone for one test.
class PinnedClock {
public:
    explicit PinnedClock(const DateParts& now, std::string zone = "Asia/Shanghai") {
        Clock& clock = MainLoop::main().clock();
        clock.setVirtual(true);
        clock.setTimeZone(zone);
        clock.pinNow(Calendar::timeOf(now, zone));
    }
    ~PinnedClock() {
        Clock& clock = MainLoop::main().clock();
        clock.unpinNow();
        clock.setTimeZone("");
        clock.setVirtual(false);
    }
    PinnedClock(const PinnedClock&) = delete;
    PinnedClock& operator=(const PinnedClock&) = delete;

    static SystemTime now() { return MainLoop::main().clock().now(); }
};

}  // namespace zorlet::test
