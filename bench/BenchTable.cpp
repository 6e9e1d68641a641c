#include "BenchTable.h"

#include <cstdio>

namespace zorlet::bench {

namespace {

bool smoke = false;
constexpr double kNoiseMargin = 0.10;

double toMilliseconds(double value, benchmark::TimeUnit unit) {
    switch (unit) {
        case benchmark::kNanosecond:
            return value / 1e6;
        case benchmark::kMicrosecond:
            return value / 1e3;
        case benchmark::kMillisecond:
            return value;
        case benchmark::kSecond:
            return value * 1e3;
    }
    return value;
}

std::string format(double value, const std::string& unit) {
    char text[64];
    if (unit == "count") {
        std::snprintf(text, sizeof text, "%.0f", value);
    } else if (unit == "us" && value >= 1e3) {
        std::snprintf(text, sizeof text, "%.2f ms", value / 1e3);
    } else if (unit == "ms" && value < 1) {
        std::snprintf(text, sizeof text, "%.1f us", value * 1e3);
    } else {
        std::snprintf(text, sizeof text, "%.2f %s", value, unit.c_str());
    }
    return text;
}

}  // namespace

bool smokeRun() {
    return smoke;
}

void setSmokeRun(bool value) {
    smoke = value;
}

void MeasurementCollector::ReportRuns(const std::vector<Run>& reports) {
    ConsoleReporter::ReportRuns(reports);
    for (const Run& run : reports) {
        if (run.error_occurred) {
            continue;  // an error leaves no figure: the table shows "no result"
        }
        bool aggregate = run.run_type == Run::RT_Aggregate;
        if (aggregate && run.aggregate_name != "median") {
            continue;
        }
        std::string name = run.run_name.function_name;
        // A median, once there is one, wins over single repetitions.
        if (!aggregate && fromAggregate_[name]) {
            continue;
        }
        Measurement measurement;
        measurement.milliseconds = toMilliseconds(run.GetAdjustedRealTime(), run.time_unit);
        for (const auto& [key, counter] : run.counters) {
            measurement.counters[key] = counter.value;
        }
        measured_[name] = measurement;
        fromAggregate_[name] = aggregate;
    }
}

const Measurement* MeasurementCollector::find(const std::string& name) const {
    auto found = measured_.find(name);
    return found == measured_.end() ? nullptr : &found->second;
}

int printTable(const MeasurementCollector& collector, const std::vector<Goal>& goals) {
    int status = 0;
    std::printf("\n%-58s | %12s | %12s | %7s | %-10s | %s\n", "path", "ours", "baseline", "ratio", "goal",
                "verdict");
    std::printf("%s\n", std::string(120, '-').c_str());
    for (const Goal& goal : goals) {
        const Measurement* ours = collector.find(goal.ours);
        const Measurement* base = goal.baseline.empty() ? nullptr : collector.find(goal.baseline);
        auto value = [&](const Measurement* m, const std::string& counter) -> double {
            if (m == nullptr) {
                return -1;
            }
            if (counter.empty()) {
                return m->milliseconds;
            }
            auto found = m->counters.find(counter);
            return found == m->counters.end() ? -1 : found->second;
        };
        double mine = value(ours, goal.counter);
        double theirs = value(base, goal.baselineCounter.empty() ? goal.counter : goal.baselineCounter);
        if (mine < 0 || (!goal.baseline.empty() && theirs <= 0)) {
            std::printf("%-58s | %12s | %12s | %7s | %-10s | no result\n", goal.path.c_str(), "-", "-", "-",
                        "-");
            status = 1;
            continue;
        }
        std::string ratioText = "-";
        std::string goalText;
        bool met = true;
        if (!goal.baseline.empty()) {
            double ratio = mine / theirs;
            char text[32];
            std::snprintf(text, sizeof text, "%.2f", ratio);
            ratioText = text;
            std::snprintf(text, sizeof text, "<= %.2fx", goal.target);
            goalText = text;
            met = ratio <= goal.target * (1 + kNoiseMargin);
        } else if (goal.higherIsBetter) {
            goalText = ">= " + format(goal.target, goal.unit);
            met = mine >= goal.target * (1 - kNoiseMargin);
        } else {
            goalText = "<= " + format(goal.target, goal.unit);
            met = mine <= goal.target * (1 + kNoiseMargin);
        }
        if (goal.target == 0) {
            goalText = "(report)";
            met = true;
        }
        std::printf("%-58s | %12s | %12s | %7s | %-10s | %s\n", goal.path.c_str(),
                    format(mine, goal.unit).c_str(),
                    goal.baseline.empty() ? "-" : format(theirs, goal.unit).c_str(), ratioText.c_str(),
                    goalText.c_str(), met ? "ok" : "MISSED");
        if (!met && !smokeRun()) {
            status = 1;
        }
    }
    return status;
}

}  // namespace zorlet::bench
