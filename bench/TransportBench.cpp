// Per-request overhead of the client transport (queue, libuv-driven curl
// multi, handlers on the loop) against bare libcurl, both doing keep-alive
// GETs to the same loopback server: one at a time, and twenty at once. Each
// benchmark runs ours and the bare baseline in turns (see PairedRuns.h).
#include "PairedRuns.h"

#include "net/HttpRequestSender.h"
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include "support/ScriptedServer.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <string>
#include <vector>

namespace {

zorlet::test::ScriptedServer& server() {
    static auto* instance = [] {
        auto* s = new zorlet::test::ScriptedServer(5);
        s->setRecordsRequests(false);
        s->onJson("/ping", R"({"success":true,"result":1})");
        return s;
    }();
    return *instance;
}

size_t keepBody(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// The baseline: one easy handle, reused, so its connection stays open.
class BareEasyGet {
public:
    explicit BareEasyGet(const std::string& url) : easy_(curl_easy_init()) {
        curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, keepBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, &body_);
    }
    ~BareEasyGet() { curl_easy_cleanup(easy_); }
    BareEasyGet(const BareEasyGet&) = delete;
    BareEasyGet& operator=(const BareEasyGet&) = delete;

    void run() {
        body_.clear();
        curl_easy_perform(easy_);
        benchmark::DoNotOptimize(body_.size());
    }

private:
    CURL* easy_;
    std::string body_;
};

void requestThroughQueue(const std::string& url) {
    auto request = zorlet::HttpRequest::create(url);
    request->setUseDownloadCache(false);
    bool done = false;
    request->setCompletionBlock([&](zorlet::HttpRequest&) { done = true; });
    request->setFailedBlock([&](zorlet::HttpRequest&) { done = true; });
    request->startAsynchronous();
    zorlet::MainLoop::main().runUntil([&] { return done; });
    benchmark::DoNotOptimize(request->responseString().size());
}

// What a screen's request goes through: the sender's request, the queue, the
// envelope check and the success handler on the loop.
void requestThroughClientPath(const std::string& url) {
    auto request = zorlet::HttpRequestSender::createGetRequestWithUrl(url, zorlet::Json::object());
    request->setUseDownloadCache(false);
    bool done = false;
    zorlet::HttpRequestSender::doRequest(
        request, nullptr, [&](const zorlet::Json& envelope) { done = envelope.contains("result"); },
        [&] { done = true; });
    zorlet::MainLoop::main().runUntil([&] { return done; });
}

// One of our requests against one bare keep-alive GET, in turns.
void pairWithBareEasy(benchmark::State& state, void (*ours)(const std::string& url)) {
    std::string url = server().url("/ping");
    BareEasyGet bare(url);
    zorlet::bench::runPaired(
        state, [&] { ours(url); }, [&] { bare.run(); });
}

void KeepAliveGet(benchmark::State& state) {
    pairWithBareEasy(state, requestThroughQueue);
}
BENCHMARK(KeepAliveGet)->Unit(benchmark::kMicrosecond);

void ClientPathGet(benchmark::State& state) {
    pairWithBareEasy(state, requestThroughClientPath);
}
BENCHMARK(ClientPathGet)->Unit(benchmark::kMicrosecond);

constexpr int kConcurrent = 20;

void concurrentThroughQueue(const std::string& url) {
    int finished = 0;
    for (int i = 0; i < kConcurrent; ++i) {
        auto request = zorlet::HttpRequest::create(url);
        request->setUseDownloadCache(false);
        request->setCompletionBlock([&](zorlet::HttpRequest&) { ++finished; });
        request->setFailedBlock([&](zorlet::HttpRequest&) { ++finished; });
        request->startAsynchronous();
    }
    zorlet::MainLoop::main().runUntil([&] { return finished == kConcurrent; });
}

// The baseline: twenty reused easy handles on one multi, driven by libcurl's own poll.
class BareMultiGets {
public:
    explicit BareMultiGets(const std::string& url)
        : multi_(curl_multi_init()), handles_(kConcurrent), bodies_(kConcurrent) {
        for (int i = 0; i < kConcurrent; ++i) {
            handles_[i] = curl_easy_init();
            curl_easy_setopt(handles_[i], CURLOPT_URL, url.c_str());
            curl_easy_setopt(handles_[i], CURLOPT_WRITEFUNCTION, keepBody);
            curl_easy_setopt(handles_[i], CURLOPT_WRITEDATA, &bodies_[i]);
        }
    }
    ~BareMultiGets() {
        for (CURL* handle : handles_) {
            curl_easy_cleanup(handle);
        }
        curl_multi_cleanup(multi_);
    }
    BareMultiGets(const BareMultiGets&) = delete;
    BareMultiGets& operator=(const BareMultiGets&) = delete;

    void run() {
        for (int i = 0; i < kConcurrent; ++i) {
            bodies_[i].clear();
            curl_multi_add_handle(multi_, handles_[i]);
        }
        int running = kConcurrent;
        while (running > 0) {
            curl_multi_perform(multi_, &running);
            if (running > 0) {
                curl_multi_poll(multi_, nullptr, 0, 1000, nullptr);
            }
        }
        int pending = 0;
        while (CURLMsg* message = curl_multi_info_read(multi_, &pending)) {
            curl_multi_remove_handle(multi_, message->easy_handle);
        }
    }

private:
    CURLM* multi_;
    std::vector<CURL*> handles_;
    std::vector<std::string> bodies_;
};

void ConcurrentGets(benchmark::State& state) {
    std::string url = server().url("/ping");
    BareMultiGets bare(url);
    zorlet::bench::runPaired(
        state, [&] { concurrentThroughQueue(url); }, [&] { bare.run(); });
}
BENCHMARK(ConcurrentGets)->Unit(benchmark::kMicrosecond);

}  // namespace
