#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

namespace sw::bench {

// The usual table, followed by the ratio of one benchmark's time to another's measured in
// the same run (with repetitions, of their medians).
class RatioReporter : public benchmark::ConsoleReporter {
public:
    RatioReporter(std::string measured, std::string baseline, std::string label)
        : ConsoleReporter(OO_Tabular), measured_(std::move(measured)),
          baseline_(std::move(baseline)), label_(std::move(label)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || run.run_type == Run::RT_Iteration)
                seconds_[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const auto measured = seconds_.find(measured_);
        const auto baseline = seconds_.find(baseline_);
        if (measured != seconds_.end() && baseline != seconds_.end() && baseline->second > 0)
            GetOutputStream() << label_ << ": " << measured->second / baseline->second << "\n";
    }

private:
    std::string measured_;
    std::string baseline_;
    std::string label_;
    std::map<std::string, double> seconds_;
};

} // namespace sw::bench
