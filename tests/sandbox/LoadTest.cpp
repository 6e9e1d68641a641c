#include "SandboxFixture.h"

#include "sandbox/DemoSeed.h"

#include <curl/curl.h>

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

// A screen's pictures or a crowd of clients open many connections at once.
// With a listen backlog of five, the SYNs beyond it are dropped and each of
// those clients waits a second before trying again.
TEST_F(SandboxTest, ABurstOfNewConnectionsIsAcceptedWithoutASecondsWait) {
    // Fewer than the workers, so none waits for one to come free.
    constexpr int connections = 30;
    std::string url = "http://127.0.0.1:" + std::to_string(port()) + "/no/such/path";
    CURLM* multi = curl_multi_init();
    std::vector<CURL*> handles;
    for (int i = 0; i < connections; ++i) {
        CURL* easy = curl_easy_init();
        curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
        curl_easy_setopt(
            easy, CURLOPT_WRITEFUNCTION,
            +[](char*, size_t size, size_t count, void*) { return size * count; });
        curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
        curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
        curl_multi_add_handle(multi, easy);
        handles.push_back(easy);
    }
    auto started = std::chrono::steady_clock::now();
    int running = connections;
    while (running > 0 && std::chrono::steady_clock::now() - started < std::chrono::seconds(10)) {
        curl_multi_perform(multi, &running);
        if (running > 0) {
            curl_multi_poll(multi, nullptr, 0, 100, nullptr);
        }
    }
    auto elapsed = std::chrono::steady_clock::now() - started;
    int answered = 0;
    int pending = 0;
    while (CURLMsg* message = curl_multi_info_read(multi, &pending)) {
        if (message->msg == CURLMSG_DONE && message->data.result == CURLE_OK) {
            ++answered;
        }
    }
    for (CURL* easy : handles) {
        curl_multi_remove_handle(multi, easy);
        curl_easy_cleanup(easy);
    }
    curl_multi_cleanup(multi);
    EXPECT_EQ(answered, connections);
    EXPECT_LT(elapsed, std::chrono::milliseconds(900));
}

}  // namespace zorlet::sandbox::test
