#include "platform/MainLoop.h"
#include "platform/Reachability.h"

#include "support/LoopTest.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;
using SteadyClock = std::chrono::steady_clock;

class ReachabilityTest : public ::testing::Test {
protected:
    void TearDown() override {
        Reachability::shared().setResolver({});
        Reachability::shared().setNetworkAvailable(true);
    }
    static Reachability& reachability() { return Reachability::shared(); }
};

// Every request asks first; a resolver that takes seconds must not freeze the screens.
TEST_F(ReachabilityTest, TheMainLoopNeverWaitsForANameLookup) {
    std::atomic<int> lookups{0};
    reachability().setResolver([&](const std::string&) {
        ++lookups;
        std::this_thread::sleep_for(1500ms);
        return false;
    });
    auto started = SteadyClock::now();
    for (int i = 0; i < 5; ++i) {
        reachability().statusForHost("slow.example");
    }
    EXPECT_LT(SteadyClock::now() - started, 300ms);
    // The answer arrives later, from the worker.
    ASSERT_TRUE(waitUntil(
        [&] { return reachability().statusForHost("slow.example") == NetworkStatus::NotReachable; }, 5000ms));
    EXPECT_EQ(lookups.load(), 1);
}

TEST_F(ReachabilityTest, AResolvableHostReadsAsReachableAndTheSwitchStillWins) {
    reachability().setResolver([](const std::string& host) { return host == "api.example"; });
    ASSERT_TRUE(waitUntil([&] {
        return reachability().statusForHost("api.example") == NetworkStatus::ReachableViaWiFi &&
               reachability().statusForHost("gone.example") == NetworkStatus::NotReachable;
    }));
    reachability().setNetworkAvailable(false);
    EXPECT_EQ(reachability().statusForHost("api.example"), NetworkStatus::NotReachable);
    reachability().setNetworkAvailable(true);
    EXPECT_EQ(reachability().statusForHost("api.example"), NetworkStatus::ReachableViaWiFi);
    EXPECT_EQ(reachability().statusForHost(""), NetworkStatus::NotReachable);
}

}  // namespace
}  // namespace zorlet::test
