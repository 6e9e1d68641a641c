// Per-request overhead of the client transport (queue, libuv-driven curl
// multi, handlers on the loop) against a bare libcurl easy loop, both doing
// keep-alive GETs to the same loopback server.
#include "platform/HttpRequest.h"
#include "platform/MainLoop.h"

#include "support/ScriptedServer.h"

#include <benchmark/benchmark.h>
#include <curl/curl.h>

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

}  // namespace
