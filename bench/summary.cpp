#include "bench/summary.h"

#include <cstdio>
#include <optional>

namespace saldora::bench {

void SummaryReporter::ReportRuns(const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        // With repetitions the median aggregate stands for the benchmark; a single run for
        // itself when repetitions were turned off.
        const bool single = run.repetitions <= 1 && run.run_type == Run::RT_Iteration;
        if (run.error_occurred || !(single || run.aggregate_name == "median")) continue;
        Median m;
        m.milliseconds =
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
        if (auto it = run.counters.find("records/s"); it != run.counters.end())
            m.recordsPerSecond = it->second.value;
        medians_[run.run_name.function_name] = m;
    }
    ConsoleReporter::ReportRuns(runs);
}

namespace {

std::string format(Figure f, double v) {
    char s[32];
    if (f == Figure::Milliseconds)
        std::snprintf(s, sizeof s, "%.3f ms", v);
    else
        std::snprintf(s, sizeof s, "%.0f rec/s", v);
    return s;
}

} // namespace

bool SummaryReporter::printTable(const std::vector<Goal>& goals, std::ostream& out) const {
    auto figure = [&](const std::string& name, Figure f) -> std::optional<double> {
        auto it = medians_.find(name);
        if (it == medians_.end()) return std::nullopt;
        return f == Figure::Milliseconds ? it->second.milliseconds : it->second.recordsPerSecond;
    };
    char line[256];
    std::snprintf(line, sizeof line, "%-34s %16s %18s %16s %7s %7s  %s\n", "Figure", "Store",
                  "Target", "Raw SQL", "Ratio", "Limit", "Result");
    out << "\n" << line << std::string(118, '-') << "\n";
    bool allMet = true;
    for (const Goal& g : goals) {
        auto ours = figure(g.ours, g.figure);
        auto raw = figure(g.raw, g.figure);
        if (!ours) continue; // filtered out or failed
        const bool lowerIsBetter = g.figure == Figure::Milliseconds;
        // The ratio is the store's cost over the bare engine's: time over time, or the raw rate
        // over the store's rate.
        std::optional<double> ratio;
        if (raw && *raw > 0 && *ours > 0) ratio = lowerIsBetter ? *ours / *raw : *raw / *ours;
        bool met = true;
        if (g.target > 0) met = lowerIsBetter ? *ours <= g.target : *ours >= g.target;
        if (g.maxRatio > 0) met = met && ratio && *ratio <= g.maxRatio;
        allMet = allMet && met;

        std::string target =
            g.target > 0 ? std::string(lowerIsBetter ? "<= " : ">= ") + format(g.figure, g.target)
                         : "-";
        char ratioText[16] = "-", limitText[16] = "-";
        if (ratio) std::snprintf(ratioText, sizeof ratioText, "%.2fx", *ratio);
        if (g.maxRatio > 0) std::snprintf(limitText, sizeof limitText, "%.2fx", g.maxRatio);
        std::snprintf(line, sizeof line, "%-34s %16s %18s %16s %7s %7s  %s\n", g.title.c_str(),
                      format(g.figure, *ours).c_str(), target.c_str(),
                      raw ? format(g.figure, *raw).c_str() : "-", ratioText, limitText,
                      met ? "pass" : "FAIL");
        out << line;
    }
    out << "Ratio: the store's cost over the bare engine's for the same work on the same file.\n";
    return allMet;
}

} // namespace saldora::bench
