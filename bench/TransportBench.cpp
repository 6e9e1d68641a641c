// Per-request overhead of the client transport (queue, libuv-driven curl
// multi, handlers on the loop) against bare libcurl, both doing keep-alive
// GETs to the same loopback server: one at a time, and twenty at once.
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
        s->onJson("/ping", R"({"success":true,"result":1})");
        return s;
    }();
    return *instance;
}

void TransportKeepAliveGet(benchmark::State& state) {
    std::string url = server().url("/ping");
    auto& loop = zorlet::MainLoop::main();
    for (auto _ : state) {
        auto request = zorlet::HttpRequest::create(url);
        request->setUseDownloadCache(false);
        bool done = false;
        request->setCompletionBlock([&](zorlet::HttpRequest&) { done = true; });
        request->setFailedBlock([&](zorlet::HttpRequest&) { done = true; });
        request->startAsynchronous();
        loop.runUntil([&] { return done; });
        benchmark::DoNotOptimize(request->responseString().size());
    }
}
BENCHMARK(TransportKeepAliveGet)->Unit(benchmark::kMicrosecond);

size_t discard(char*, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(size * count, '\0');
    return size * count;
}

void BareCurlEasyKeepAliveGet(benchmark::State& state) {
    std::string url = server().url("/ping");
    CURL* easy = curl_easy_init();
    std::string body;
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, discard);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    for (auto _ : state) {
        body.clear();
        curl_easy_perform(easy);
        benchmark::DoNotOptimize(body.size());
    }
    curl_easy_cleanup(easy);
}
BENCHMARK(BareCurlEasyKeepAliveGet)->Unit(benchmark::kMicrosecond);

// What a screen's request goes through: the sender's request, the queue, the
// envelope check and the success handler on the loop.
void ClientPathGet(benchmark::State& state) {
    std::string url = server().url("/ping");
    auto& loop = zorlet::MainLoop::main();
    for (auto _ : state) {
        auto request = zorlet::HttpRequestSender::createGetRequestWithUrl(url, zorlet::Json::object());
        request->setUseDownloadCache(false);
        bool done = false;
        zorlet::HttpRequestSender::doRequest(
            request, nullptr, [&](const zorlet::Json& envelope) { done = envelope.contains("result"); },
            [&] { done = true; });
        loop.runUntil([&] { return done; });
    }
}
BENCHMARK(ClientPathGet)->Unit(benchmark::kMicrosecond);

constexpr int kConcurrent = 20;

void QueuedConcurrentGets(benchmark::State& state) {
    std::string url = server().url("/ping");
    auto& loop = zorlet::MainLoop::main();
    for (auto _ : state) {
        int finished = 0;
        for (int i = 0; i < kConcurrent; ++i) {
            auto request = zorlet::HttpRequest::create(url);
            request->setUseDownloadCache(false);
            request->setCompletionBlock([&](zorlet::HttpRequest&) { ++finished; });
            request->setFailedBlock([&](zorlet::HttpRequest&) { ++finished; });
            request->startAsynchronous();
        }
        loop.runUntil([&] { return finished == kConcurrent; });
    }
}
BENCHMARK(QueuedConcurrentGets)->Unit(benchmark::kMicrosecond);

void BareCurlMultiConcurrentGets(benchmark::State& state) {
    std::string url = server().url("/ping");
    CURLM* multi = curl_multi_init();
    std::vector<CURL*> handles(kConcurrent);
    std::vector<std::string> bodies(kConcurrent);
    for (int i = 0; i < kConcurrent; ++i) {
        handles[i] = curl_easy_init();
        curl_easy_setopt(handles[i], CURLOPT_URL, url.c_str());
        curl_easy_setopt(handles[i], CURLOPT_WRITEFUNCTION, discard);
        curl_easy_setopt(handles[i], CURLOPT_WRITEDATA, &bodies[i]);
    }
    for (auto _ : state) {
        for (int i = 0; i < kConcurrent; ++i) {
            bodies[i].clear();
            curl_multi_add_handle(multi, handles[i]);
        }
        int running = kConcurrent;
        while (running > 0) {
            curl_multi_perform(multi, &running);
            if (running > 0) {
                curl_multi_poll(multi, nullptr, 0, 1000, nullptr);
            }
        }
        int pending = 0;
        while (CURLMsg* message = curl_multi_info_read(multi, &pending)) {
            curl_multi_remove_handle(multi, message->easy_handle);
        }
    }
    for (CURL* handle : handles) {
        curl_easy_cleanup(handle);
    }
    curl_multi_cleanup(multi);
}
BENCHMARK(BareCurlMultiConcurrentGets)->Unit(benchmark::kMicrosecond);

}  // namespace
