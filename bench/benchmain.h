#pragma once
// A benchmark program's main: runs the registered benchmarks and prints, for
// each declared pair, "ratio <name> <measured / baseline>" from real time.
#include <functional>
#include <string>

namespace trovik::bench {

void declareRatio(const std::string& name, const std::string& measured,
                  const std::string& baseline);
int runBenchmarks(int argc, char** argv);

// Times measured and baseline in turn, rounds times each (prepare runs
// untimed before every timed call), so a busy machine slows both alike, and
// prints "ratio <name> <median of the per-round ratios>".
void interleavedRatio(const std::string& name, int rounds, const std::function<void()>& prepare,
                      const std::function<void()>& measured, const std::function<void()>& baseline);

}  // namespace trovik::bench
