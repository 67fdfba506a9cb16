#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// Reads a figure off one benchmark's result.
using Figure = std::function<double(const benchmark::BenchmarkReporter::Run &)>;

// A counter that the benchmark set.
Figure counter(const std::string &name);

// The real time of one iteration, in milliseconds.
double milliseconds(const benchmark::BenchmarkReporter::Run &run);

// The processor time this process has used so far, in milliseconds.
double processCpuMs();

// A figure read off one benchmark's result, and the bound it must keep; a figure shown
// only for comparison keeps none.
struct Target {
    std::string benchmark;
    std::string figure;
    std::string unit;
    Figure value;
    enum Bound { AtLeast, AtMost, Shown } bound;
    double limit;
};

// Runs the registered benchmarks, then prints each target's figure beside its bound.
// Returns non-zero when a figure misses its bound.
int run(int argc, char **argv, const std::vector<Target> &targets);

} // namespace bench
