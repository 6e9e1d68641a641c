#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace zorlet::bench {

// True when the benchmarks run as a quick check that they still work (CI):
// scenarios shrink their work and no goal is enforced.
bool smokeRun();
void setSmokeRun(bool smoke);

// One figure a benchmark produced: its median wall time per iteration in
// milliseconds, and its counters (medians too).
struct Measurement {
    double milliseconds = 0;
    std::map<std::string, double> counters;
};

// Keeps what every benchmark measured while printing the usual console output.
class MeasurementCollector : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override;
    const Measurement* find(const std::string& name) const;

private:
    std::map<std::string, Measurement> measured_;
    std::map<std::string, bool> fromAggregate_;
};

// A line of the final table: our path against its bare-library baseline, or
// against an absolute bound when there is nothing to compare with.
struct Goal {
    std::string path;
    std::string ours;      // benchmark name
    std::string baseline;  // benchmark name; empty: an absolute goal
    std::string counter;   // empty: wall time per iteration
    double target = 0;     // the goal: a ratio, or the bound in the measurement's unit
    bool higherIsBetter = false;
    std::string unit = "ms";
    std::string baselineCounter = {};  // empty: the same counter as ours
};

// Prints path, ours, baseline, ratio and goal for each line. The result is
// the exit status: non-zero when a line misses its goal by more than the
// noise margin (10 %), or when a benchmark reported nothing.
int printTable(const MeasurementCollector& collector, const std::vector<Goal>& goals);

}  // namespace zorlet::bench
