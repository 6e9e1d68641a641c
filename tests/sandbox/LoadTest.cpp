#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <map>
#include <thread>

namespace zorlet::sandbox::test {

// Twenty clients at once, 2,000 requests in all, reads mixed with writes: no
// error answers, and every response recorded exactly once.
TEST_F(DemoSandboxTest, TwentyConcurrentClientsLoseNothing) {
    constexpr int clients = 20;
    constexpr int requestsPerClient = 100;
    std::vector<std::int64_t> uids;
    for (int i = 0; i < clients; ++i) {
        auto uid = control().createUser(
            {"load" + std::to_string(i) + "@example.com", "secret99", "压测" + std::to_string(i)});
        ASSERT_TRUE(uid);
        uids.push_back(*uid);
    }
    // Posts of demo users for everyone to respond to.
    ApiClient reader(port());
    reader.signIn(DemoSeed::demoAccount, DemoSeed::demoPassword);
    std::vector<std::int64_t> postIds;
    // The demo data has responses of its own.
    std::map<std::int64_t, int> seededResponses;
    auto newest = reader.get("/post/v134/userPosts", {{"orderType", "new"}});
    for (const auto& user : newest.result()["list"]) {
        if (!user["postView"].is_null()) {
            postIds.push_back(user["postView"]["postId"].get<std::int64_t>());
            seededResponses[postIds.back()] = user["postView"]["respCnt"].get<int>();
        }
    }
    ASSERT_GE(postIds.size(), 10u);
    postIds.resize(10);

    std::atomic<int> failures{0};
    std::atomic<int> answered{0};
    auto started = std::chrono::steady_clock::now();
    std::vector<std::thread> threads;
    for (int c = 0; c < clients; ++c) {
        threads.emplace_back([&, c] {
            ApiClient client(port());
            client.keepAlive();
            auto signedIn = client.post(
                "/passport/v132/login",
                {{"account", "load" + std::to_string(c) + "@example.com"}, {"password", "secret99"}});
            answered++;
            if (!signedIn.success()) {
                failures++;
            }
            for (int r = 1; r < requestsPerClient; ++r) {
                Answer answer;
                switch (r % 5) {
                    case 0:
                        answer = client.get("/post/v134/nearbyUsers", {{"page", std::to_string(1 + r % 3)}});
                        break;
                    case 1:
                        answer =
                            client.get("/post/v134/userPosts", {{"orderType", r % 2 ? "online" : "new"}});
                        break;
                    case 2:
                        answer = client.post(
                            "/post/respPost",
                            {{"postId",
                              std::to_string(postIds[static_cast<size_t>(r / 5) % postIds.size()])}});
                        break;
                    case 3:
                        answer =
                            client.get("/home/updateloc", {{"longitude", std::to_string(116.3 + c * 0.001)},
                                                           {"latitude", std::to_string(39.9 + r * 0.0001)}});
                        break;
                    default:
                        answer = client.get("/dialog/notice/nums");
                        break;
                }
                answered++;
                if (answer.status != 200 || !answer.success()) {
                    failures++;
                }
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("load: %d requests from %d clients in %.2f s = %.0f requests/s\n", answered.load(), clients,
                seconds, answered.load() / seconds);
    EXPECT_EQ(answered.load(), clients * requestsPerClient);
    EXPECT_EQ(failures.load(), 0);
    EXPECT_LT(seconds, 120);

    // Each client responded to each of the ten posts (twice over): every count grew by exactly the number
    // of clients.
    auto list = reader.get("/post/v134/userPosts", {{"orderType", "new"}}).result()["list"];
    for (const auto& user : list) {
        if (user["postView"].is_null()) {
            continue;
        }
        auto id = user["postView"]["postId"].get<std::int64_t>();
        if (std::find(postIds.begin(), postIds.end(), id) != postIds.end()) {
            EXPECT_EQ(user["postView"]["respCnt"], seededResponses[id] + clients) << "post " << id;
        }
    }
}

}  // namespace zorlet::sandbox::test
