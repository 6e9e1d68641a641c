// Launch to the first screen with a stored session, against the in-process
// sandbox: the session check and the first page of the users feed shown. The
// baseline makes the same two round trips with bare libcurl.
#include "BenchTable.h"

#include "app/AppDelegate.h"
#include "app/ScreenFactory.h"
#include "app/ZorletTabBarController.h"
#include "model/RecordConverters.h"
#include "net/UrlUtils.h"
#include "people/UserViewController.h"
#include "platform/CookieStore.h"
#include "platform/DataFolder.h"
#include "platform/HttpEngine.h"
#include "platform/HttpQueue.h"
#include "platform/MainLoop.h"
#include "platform/Reachability.h"
#include "platform/UserDefaults.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/SandboxServer.h"
#include "session/LoginService.h"
#include "session/LoginUser.h"
#include "session/UserContext.h"
#include "ui/AlertRegistry.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"

#include <curl/curl.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <stdexcept>

namespace {

using namespace zorlet;

struct LaunchFixture {
    std::filesystem::path folder;
    std::unique_ptr<sandbox::SandboxServer> sandbox;
    std::string pToken;
    std::string lToken;
};

// One sandbox for both benchmarks, signed in once so the tokens are stored.
LaunchFixture& fixture() {
    static auto* made = [] {
        auto* f = new LaunchFixture;
        // Inside the benchmark program's own folder, which goes when the program ends.
        f->folder = DataFolder::shared().root() / "launch-sandbox";
        std::filesystem::create_directories(f->folder);
        sandbox::SandboxOptions options;
        options.databasePath = f->folder / "sandbox.db";
        options.seedDemo = true;
        options.passwordCost = sandbox::Passwords::Cost::Minimum;
        auto started = sandbox::SandboxServer::start(options);
        if (!started) {
            throw std::runtime_error("sandbox: " + started.error());
        }
        f->sandbox = std::move(*started);
        UrlUtils::setBaseUrl(f->sandbox->baseUrl());
        Reachability::shared().setNetworkAvailable(true);
        RecordConverters::registerAll();
        ScreenFactory::resetToCatalog();
        auto result = LoginService::getInstance().useLoginName(sandbox::DemoSeed::demoAccount,
                                                               sandbox::DemoSeed::demoPassword);
        auto stored = LoginUser::initFromData();
        if (!result.success || !stored) {
            throw std::runtime_error("the demo account could not sign in");
        }
        f->pToken = stored->pToken;
        f->lToken = stored->lToken;
        return f;
    }();
    return *made;
}

UserViewController* shownFeed(const AppDelegate& app) {
    auto* shell = app.tabShell();
    if (shell == nullptr || shell->viewControllers().empty()) {
        return nullptr;
    }
    auto* navigation = dynamic_cast<NavigationController*>(shell->viewControllers().front().get());
    auto* feed = navigation ? dynamic_cast<UserViewController*>(navigation->topViewController()) : nullptr;
    return feed != nullptr && feed->isViewLoaded() ? feed : nullptr;
}

void LaunchToFeed(benchmark::State& state) {
    auto& f = fixture();
    UrlUtils::setBaseUrl(f.sandbox->baseUrl());
    ScreenFactory::resetToCatalog();
    // A returning user: the guidance pages were seen at the first launch.
    UserDefaults::standard().setBool(AppDelegate::guidanceFlagKey(), true);
    auto& loop = MainLoop::main();
    for (auto _ : state) {
        state.PauseTiming();
        UserContext::logout();
        CookieStore::shared().clearAll();
        LoginUser(f.pToken, f.lToken).save();
        AlertRegistry::shared().clear();
        Application::shared().reset();
        auto app = std::make_unique<AppDelegate>();
        state.ResumeTiming();

        app->didFinishLaunchingWithOptions({});
        bool shown = loop.runUntil(
            [&] {
                auto* feed = shownFeed(*app);
                return feed != nullptr && feed->data && feed->data->count() > 0;
            },
            std::chrono::seconds(10));

        if (!shown) {
            state.SkipWithError("the feed did not show within 10 s");
            break;
        }
        state.PauseTiming();
        app.reset();
        HttpQueue::shared().cancelAll();
        loop.runPending();
        state.ResumeTiming();
    }
}
BENCHMARK(LaunchToFeed)->Unit(benchmark::kMillisecond)->UseRealTime();

std::size_t keep(char* data, std::size_t size, std::size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

void BareLaunchRoundTrips(benchmark::State& state) {
    auto& f = fixture();
    std::string base = f.sandbox->baseUrl();
    std::string cookies = "p_token=" + f.pToken + "; l_token=" + f.lToken;
    CURL* easy = curl_easy_init();
    std::string body;
    for (auto _ : state) {
        curl_easy_reset(easy);
        body.clear();
        std::string login = base + "/passport/v132/login";
        curl_easy_setopt(easy, CURLOPT_URL, login.c_str());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, "");
        curl_easy_setopt(easy, CURLOPT_COOKIE, cookies.c_str());
        curl_easy_setopt(easy, CURLOPT_COOKIEFILE, "");
        curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, keep);
        curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
        curl_easy_perform(easy);
        std::string feed = base + "/post/v134/userPosts?page=1&orderType=online";
        curl_easy_setopt(easy, CURLOPT_URL, feed.c_str());
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
        curl_easy_perform(easy);
        benchmark::DoNotOptimize(body.size());
    }
    curl_easy_cleanup(easy);
}
BENCHMARK(BareLaunchRoundTrips)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
