#pragma once

#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include <gtest/gtest.h>

#include <functional>

namespace zorlet::test {

// Runs the main loop until `condition` holds (real I/O); fails the test on time-out.
inline bool waitUntil(const std::function<bool()>& condition, Duration timeout = Duration(10000)) {
    return MainLoop::main().runUntil(condition, timeout);
}

// Starts `request` on the shared queue and runs the loop until it finished or
// failed; false when it did neither in time.
inline bool runToEnd(const HttpRequestPtr& request) {
    bool done = false;
    request->setCompletionBlock([&](HttpRequest&) { done = true; });
    request->setFailedBlock([&](HttpRequest&) { done = true; });
    request->startAsynchronous();
    return waitUntil([&] { return done; });
}

// A test on the main loop under virtual time, starting and ending quiet:
// no timers or posted tasks leak from one test into the next.
class LoopTest : public ::testing::Test {
protected:
    void SetUp() override {
        loop().cancelAll();
        loop().clock().setVirtual(true);
    }
    void TearDown() override {
        loop().cancelAll();
        loop().clock().unpinNow();
        loop().clock().setTimeZone({});
        loop().clock().setVirtual(false);
    }
    static MainLoop& loop() { return MainLoop::main(); }
    static void advance(Duration delta) { MainLoop::main().advance(delta); }
};

}  // namespace zorlet::test
