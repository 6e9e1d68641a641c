// Rendering one screen to PNG: the users feed showing ten rows, drawn with
// Cairo and Pango at the phone's scale and encoded.
#include "app/CustomNavigationController.h"
#include "model/RecordConverters.h"
#include "net/UrlUtils.h"
#include "people/UserViewController.h"
#include "platform/HttpEngine.h"
#include "platform/Json.h"
#include "platform/MainLoop.h"
#include "platform/Reachability.h"
#include "ui/Renderer.h"
#include "ui/Window.h"

#include "support/ScriptedServer.h"

#include <benchmark/benchmark.h>

#include <unistd.h>
#include <chrono>
#include <filesystem>

namespace {

using namespace zorlet;

std::string tenUsersPage() {
    Json list = Json::array();
    for (int i = 1; i <= 10; ++i) {
        list.push_back({{"uid", 100 + i},
                        {"nickname", "用户" + std::to_string(i)},
                        {"gender", i % 2},
                        {"birthYear", 1985 + i},
                        {"profession", "设计师"},
                        {"onlineStatus", i % 3},
                        {"postView",
                         {{"postId", 1000 + i},
                          {"purpose", "周末去香山爬山"},
                          {"content", "有人一起吗？早上八点出发，中午野餐。"},
                          {"respCnt", i},
                          {"createUid", 100 + i}}}});
    }
    Json envelope = {
        {"success", true},
        {"result",
         {{"pager", {{"currentPage", 1}, {"maxResult", 10}, {"totalPage", 1}, {"hasNext", false}}},
          {"list", list}}}};
    return envelope.dump();
}

void RenderFeedScreen(benchmark::State& state) {
    test::ScriptedServer server;
    server.onJson("/post/v134/userPosts", tenUsersPage());
    UrlUtils::setBaseUrl(server.url());
    Reachability::shared().setNetworkAvailable(true);
    RecordConverters::registerAll();

    auto feed = std::make_shared<UserViewController>();
    auto window = std::make_shared<Window>();
    window->setRootViewController(std::make_shared<CustomNavigationController>(feed));
    window->makeKeyAndVisible();
    bool loaded = MainLoop::main().runUntil([&] { return feed->data && feed->data->count() == 10; },
                                            std::chrono::seconds(10));
    if (!loaded) {
        state.SkipWithError("the feed did not load");
        return;
    }
    auto path = std::filesystem::temp_directory_path() /
                ("zorlet-bench-render-" + std::to_string(::getpid()) + ".png");
    for (auto _ : state) {
        if (!Renderer::writeWindowPng(*window, path.string())) {
            state.SkipWithError("the PNG could not be written");
            break;
        }
    }
    std::filesystem::remove(path);
    window.reset();
    HttpEngine::shared().closeIdleConnections();
}
BENCHMARK(RenderFeedScreen)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
