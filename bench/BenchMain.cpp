#include "BenchMain.h"

#include <QApplication>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>

namespace bench {
namespace {

// Prints the usual table and keeps every run for the targets.
class KeepingReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run &run : runs)
            kept.insert_or_assign(run.benchmark_name(), run);
    }

    std::map<std::string, Run> kept;
};

} // namespace

Figure counter(const std::string &name)
{
    // A benchmark that stopped with an error set none: its figure misses any bound.
    return [name](const benchmark::BenchmarkReporter::Run &run) {
        const auto found = run.counters.find(name);
        return found == run.counters.end() ? std::nan("") : double(found->second);
    };
}

double milliseconds(const benchmark::BenchmarkReporter::Run &run)
{
    return run.GetAdjustedRealTime() * benchmark::GetTimeUnitMultiplier(benchmark::kMillisecond)
        / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

int run(int argc, char **argv, const std::vector<Target> &targets)
{
    // On the display scripts/bench provides, or off screen without one.
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    KeepingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    int missed = 0;
    std::printf("\n%-72s %14s   %s\n", "figure", "value", "target");
    for (const Target &target : targets) {
        const auto found = reporter.kept.find(target.benchmark);
        if (found == reporter.kept.end()) {
            std::printf("%-72s %14s   not run\n", target.figure.c_str(), "-");
            ++missed;
            continue;
        }
        const double value = target.value(found->second);
        if (target.bound == Target::Shown) {
            std::printf("%-72s %10.2f %-3s   for comparison\n", target.figure.c_str(), value,
                target.unit.c_str());
            continue;
        }
        const bool kept
            = target.bound == Target::AtLeast ? value >= target.limit : value <= target.limit;
        missed += !kept;
        std::printf("%-72s %10.2f %-3s   %s %g %s: %s\n", target.figure.c_str(), value,
            target.unit.c_str(), target.bound == Target::AtLeast ? ">=" : "<=", target.limit,
            target.unit.c_str(), kept ? "ok" : "MISSED");
    }
    return missed == 0 ? 0 : 1;
}

} // namespace bench
