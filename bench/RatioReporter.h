#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace sw::bench {

// The console table, followed by the ratio of one benchmark's time to a baseline's measured
// in the same run: wall-clock time and CPU time. With repetitions the median stands for a
// benchmark, else its one run.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string measured, std::string baseline, std::string label)
        : RatioReporter(std::vector<std::string>{std::move(measured)}, std::move(baseline),
                        std::move(label)) {}
    // A ratio for each of several benchmarks against the one baseline, each named after the
    // label when there are several.
    RatioReporter(std::vector<std::string> measured, std::string baseline, std::string label)
        : ConsoleReporter(OO_Tabular), measured_(std::move(measured)),
          baseline_(std::move(baseline)), label_(std::move(label)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration)
                times_[run.run_name.function_name] = {run.GetAdjustedRealTime(),
                                                      run.GetAdjustedCPUTime()};
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto baseline = times_.find(baseline_);
        if (baseline == times_.end() || baseline->second.first <= 0 || baseline->second.second <= 0)
            return;
        for (const std::string& name : measured_) {
            const auto measured = times_.find(name);
            if (measured == times_.end())
                continue;
            GetOutputStream() << label_ << (measured_.size() > 1 ? " (" + name + ")" : "") << ": "
                              << measured->second.first / baseline->second.first
                              << " (CPU time: " << measured->second.second / baseline->second.second
                              << ")\n";
        }
    }

private:
    std::vector<std::string> measured_;
    std::string baseline_;
    std::string label_;
    std::map<std::string, std::pair<double, double>> times_; // real, CPU
};

// The counters of a benchmark that draws frames of a model: frames per second, and its faces.
inline void countFrames(benchmark::State& state, double faces) {
    state.counters["fps"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["faces"] = faces;
}

} // namespace sw::bench
