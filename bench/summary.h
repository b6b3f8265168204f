#pragma once
// The closing table of the benchmarks: each figure of the store next to the same work done on
// the bare engine, the ratio between them, and whether the figure meets its goal.
#include <benchmark/benchmark.h>

#include <map>
#include <ostream>
#include <string>
#include <vector>

namespace saldora::bench {

enum class Figure {
    Milliseconds,     // median time of one operation; lower is better
    RecordsPerSecond, // median of the benchmark's "records/s" counter; higher is better
};

struct Goal {
    std::string title;
    std::string ours, raw; // benchmark names
    Figure figure;
    double target = 0;   // at most (milliseconds) or at least (records/s); 0 for none
    double maxRatio = 0; // at most this many times the raw cost; 0 for none
};

// Shows every run on the console as usual and keeps each benchmark's median for the table.
class SummaryReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;
    void ReportRuns(const std::vector<Run>& runs) override;
    // Prints the table; returns whether every goal that was measured is met.
    bool printTable(const std::vector<Goal>& goals, std::ostream& out) const;

  private:
    struct Median {
        double milliseconds = 0;
        double recordsPerSecond = 0;
    };
    std::map<std::string, Median> medians_;
};

} // namespace saldora::bench
