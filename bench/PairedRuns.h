#pragma once

#include <benchmark/benchmark.h>

#include <functional>

namespace zorlet::bench {

// Runs our path and its bare baseline in turns inside one benchmark, so both
// meet the same machine: a neighbour's burst slows the two alike instead of
// landing on one side of the ratio, as it does when they run a second apart.
// The order alternates, so neither always runs on the other's warm caches.
// Each side's median wall time per call goes into the counters `ours_us` and
// `bare_us`, its median CPU time on this thread into `ours_cpu_us` and
// `bare_cpu_us`; the benchmark's own time is the pair's.
void runPaired(benchmark::State& state, const std::function<void()>& ours, const std::function<void()>& bare);

}  // namespace zorlet::bench
