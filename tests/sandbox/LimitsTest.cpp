#include "SandboxFixture.h"

#include "sandbox/ConcurrencyLimit.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/Pictures.h"

#include <atomic>
#include <future>
#include <thread>
#include <vector>

namespace zorlet::sandbox::test {

TEST(ConcurrencyLimitTest, NoMoreThanTheLimitAreInsideAndEveryoneGetsIn) {
    ConcurrencyLimit limit(2);
    std::atomic<int> inside = 0;
    std::atomic<int> highest = 0;
    std::atomic<int> finished = 0;
    std::vector<std::thread> threads;
    for (int i = 0; i < 8; ++i) {
        threads.emplace_back([&] {
            auto permit = limit.enter();
            int now = ++inside;
            int seen = highest.load();
            while (now > seen && !highest.compare_exchange_weak(seen, now)) {
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            --inside;
            ++finished;
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(finished, 8);
    EXPECT_LE(highest, 2);
    EXPECT_EQ(limit.peak(), highest);
}

TEST(LoginThrottleTest, FailuresCountWithinTheWindowPerAccountAndPerAddress) {
    LoginThrottle throttle({3, 5, 100});
    using Verdict = LoginThrottle::Verdict;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(throttle.check("a@x.com", "10.0.0.1", 1000), Verdict::Allowed);
        throttle.failed("a@x.com", "10.0.0.1", 1000 + i);
    }
    EXPECT_EQ(throttle.check("A@X.COM", "10.0.0.2", 1050), Verdict::AccountLocked);
    EXPECT_EQ(throttle.check("b@x.com", "10.0.0.1", 1050), Verdict::Allowed);
    // The window counts from the first failure.
    EXPECT_EQ(throttle.check("a@x.com", "10.0.0.2", 1100), Verdict::Allowed);

    throttle.failed("b@x.com", "10.0.0.1", 1100);
    throttle.failed("c@x.com", "10.0.0.1", 1100);
    EXPECT_EQ(throttle.check("d@x.com", "10.0.0.1", 1101), Verdict::Allowed);
    throttle.failed("d@x.com", "10.0.0.1", 1101);
    throttle.failed("e@x.com", "10.0.0.1", 1101);
    throttle.failed("f@x.com", "10.0.0.1", 1101);
    EXPECT_EQ(throttle.check("g@x.com", "10.0.0.1", 1102), Verdict::AddressLocked);
    EXPECT_EQ(throttle.check("g@x.com", "10.0.0.3", 1102), Verdict::Allowed);

    // A success clears the account, not the address.
    throttle.failed("h@x.com", "10.0.0.4", 2000);
    throttle.failed("h@x.com", "10.0.0.4", 2000);
    throttle.failed("h@x.com", "10.0.0.4", 2000);
    throttle.succeeded("H@x.com");
    EXPECT_EQ(throttle.check("h@x.com", "10.0.0.5", 2001), Verdict::Allowed);
}

TEST_F(SandboxTest, ConcurrentSignInsHashAFewAtATime) {
    std::vector<std::pair<std::string, std::string>> accounts;
    for (int i = 0; i < 12; ++i) {
        auto account = "many" + std::to_string(i) + "@example.com";
        ASSERT_TRUE(control().createUser({account, "rightpass", "并发" + std::to_string(i)}));
        accounts.emplace_back(account, "rightpass");
    }
    std::vector<std::future<bool>> signIns;
    for (const auto& [account, password] : accounts) {
        signIns.push_back(std::async(std::launch::async, [this, account, password] {
            ApiClient client(port());
            return client.post("/passport/v132/login", {{"account", account}, {"password", password}})
                .success();
        }));
    }
    for (auto& signIn : signIns) {
        EXPECT_TRUE(signIn.get());
    }
    EXPECT_GE(Passwords::peakConcurrentHashes(), 1);
    EXPECT_LE(Passwords::peakConcurrentHashes(), Passwords::concurrentHashes);
}

TEST_F(SandboxTest, ConcurrentUploadsDecodeAFewAtATime) {
    auto picture = pngOfSize(1500, 1500);
    std::vector<std::future<Answer>> uploads;
    for (int i = 0; i < 6; ++i) {
        auto client =
            std::make_shared<std::unique_ptr<ApiClient>>(newSignedInUser("上传" + std::to_string(i)));
        uploads.push_back(std::async(std::launch::async, [client, picture] {
            return (*client)->postMultipart("/profile/save", {{"logo", picture, "logo.png", "image/png"}});
        }));
    }
    for (auto& upload : uploads) {
        auto answer = upload.get();
        EXPECT_TRUE(answer.success()) << answer.text;
    }
    EXPECT_GE(Pictures::peakConcurrentDecodes(), 1);
    EXPECT_LE(Pictures::peakConcurrentDecodes(), Pictures::concurrentDecodes);
}

}  // namespace zorlet::sandbox::test
