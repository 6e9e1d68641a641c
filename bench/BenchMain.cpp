// Runs every benchmark, then prints how our paths compare with the bare
// libraries and exits non-zero when one misses its goal.
//   zorlet_bench            three repetitions, medians, goals enforced
//   zorlet_bench --smoke    tiny runs that only prove the benchmarks work
#include "BenchTable.h"

#include "support/LeakSuppressions.h"

#include "platform/DataFolder.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"

#include <spdlog/spdlog.h>

#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// A benchmark that ran ours and the baseline in turns (PairedRuns.h).
zorlet::bench::Goal paired(std::string path, std::string benchmark, double ratio) {
    return {std::move(path), benchmark, benchmark, "ours_us", ratio, false, "us", "bare_us"};
}

std::vector<zorlet::bench::Goal> goals() {
    using zorlet::bench::Goal;
    return {
        paired("keep-alive GET: request + queue + loop vs bare easy", "KeepAliveGet", 1.2),
        paired("keep-alive GET: sender, queue, envelope, handler", "ClientPathGet", 1.2),
        paired("20 concurrent GETs through the queue vs bare multi", "ConcurrentGets", 1.2),
        paired("decode + convert + merge 1,000 users vs bare parse", "DecodeAndMergeUsersPage", 1.25),
        {"1,000 feed rows built and laid out", "BuildAndLayOutFeedRows", "", "", 50},
        {"launch to the feed, stored session, vs bare round trips", "LaunchToFeed", "BareLaunchRoundTrips",
         "", 1.5},
        {"launch to the feed, stored session", "LaunchToFeed", "", "", 150},
        {"sandbox, 20 clients mixed: requests per second", "SandboxMixedLoad", "", "requests_per_s", 2000,
         true, "req/s"},
        {"sandbox, 20 clients mixed: feed page p99", "SandboxMixedLoad", "", "feed_p99_ms", 20},
        {"sandbox, 20 clients mixed: p50", "SandboxMixedLoad", "", "p50_ms", 0},
        {"sandbox, 20 clients mixed: errors and lost writes", "SandboxMixedLoad", "", "errors", 0.0001, false,
         "count"},
        {"render the feed with 10 rows to PNG", "RenderFeedScreen", "", "", 0},
    };
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> arguments;
    bool smoke = false;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--smoke") == 0) {
            smoke = true;
        } else {
            arguments.emplace_back(argv[i]);
        }
    }
    zorlet::bench::setSmokeRun(smoke);
    if (smoke) {
        arguments.emplace_back("--benchmark_min_time=0.0001");
    } else {
        arguments.emplace_back("--benchmark_repetitions=3");
        arguments.emplace_back("--benchmark_report_aggregates_only=true");
    }
    std::vector<char*> pointers;
    for (auto& argument : arguments) {
        pointers.push_back(argument.data());
    }
    int count = static_cast<int>(pointers.size());
    benchmark::Initialize(&count, pointers.data());
    if (benchmark::ReportUnrecognizedArguments(count, pointers.data())) {
        return 2;
    }

    spdlog::set_level(spdlog::level::warn);
    auto root = std::filesystem::temp_directory_path() / ("zorlet-bench-" + std::to_string(::getpid()));
    zorlet::DataFolder::shared().setRoot(root);
    zorlet::UserDefaults::standard().reload(zorlet::DataFolder::shared().file("Preferences/defaults.json"));
    zorlet::MainLoop::main();

    zorlet::bench::MeasurementCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    benchmark::Shutdown();
    zorlet::MainLoop::main().finishBackgroundWork();
    int status = zorlet::bench::printTable(collector, goals());
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
    return status;
}
