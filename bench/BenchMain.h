#pragma once

#include <benchmark/benchmark.h>
#include <functional>
#include <string>
#include <vector>

namespace bench {

// A figure read off one benchmark's result, and the bound it must keep.
struct Target {
    std::string benchmark;
    std::string figure;
    std::string unit;
    std::function<double(const benchmark::BenchmarkReporter::Run &)> value;
    enum Bound { AtLeast, AtMost } bound;
    double limit;
};

// Runs the registered benchmarks, then prints each target's figure beside its bound.
// Returns non-zero when a figure misses its bound.
int run(int argc, char **argv, const std::vector<Target> &targets);

} // namespace bench
