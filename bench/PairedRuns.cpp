#include "PairedRuns.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <vector>

namespace zorlet::bench {

namespace {

struct Sample {
    double wall = 0;
    double cpu = 0;
};

double threadCpuMicroseconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

Sample measure(const std::function<void()>& work) {
    auto start = std::chrono::steady_clock::now();
    double cpuStart = threadCpuMicroseconds();
    work();
    double cpu = threadCpuMicroseconds() - cpuStart;
    return {std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count(), cpu};
}

double median(std::vector<double>& samples) {
    if (samples.empty()) {
        return 0;
    }
    auto middle = samples.begin() + static_cast<std::ptrdiff_t>(samples.size() / 2);
    std::nth_element(samples.begin(), middle, samples.end());
    return *middle;
}

}  // namespace

void runPaired(benchmark::State& state, const std::function<void()>& ours,
               const std::function<void()>& bare) {
    std::vector<double> oursTimes;
    std::vector<double> bareTimes;
    std::vector<double> oursCpu;
    std::vector<double> bareCpu;
    auto record = [](const Sample& sample, std::vector<double>& wall, std::vector<double>& cpu) {
        wall.push_back(sample.wall);
        cpu.push_back(sample.cpu);
    };
    bool oursFirst = true;
    for (auto _ : state) {
        if (oursFirst) {
            record(measure(ours), oursTimes, oursCpu);
            record(measure(bare), bareTimes, bareCpu);
        } else {
            record(measure(bare), bareTimes, bareCpu);
            record(measure(ours), oursTimes, oursCpu);
        }
        oursFirst = !oursFirst;
    }
    state.counters["ours_cpu_us"] = median(oursCpu);
    state.counters["bare_cpu_us"] = median(bareCpu);
    double oursMedian = median(oursTimes);
    double bareMedian = median(bareTimes);
    state.counters["ours_us"] = oursMedian;
    state.counters["bare_us"] = bareMedian;
    state.counters["ratio"] = bareMedian > 0 ? oursMedian / bareMedian : 0;
}

}  // namespace zorlet::bench
