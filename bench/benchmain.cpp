#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <vector>

namespace trovik::bench {

namespace {
struct Ratio {
  std::string name, measured, baseline;
};
std::vector<Ratio>& ratios() {
  static std::vector<Ratio> r;
  return r;
}

// Keeps the time per iteration of every run, by benchmark name.
class Collector : public benchmark::ConsoleReporter {
 public:
  Collector() : ConsoleReporter(OO_Tabular) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& run : runs) times[run.benchmark_name()] = run.GetAdjustedRealTime();
    ConsoleReporter::ReportRuns(runs);
  }
  std::map<std::string, double> times;
};
}  // namespace

void declareRatio(const std::string& name, const std::string& measured,
                  const std::string& baseline) {
  ratios().push_back({name, measured, baseline});
}

int runBenchmarks(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Collector collector;
  benchmark::RunSpecifiedBenchmarks(&collector);
  for (const auto& r : ratios()) {
    auto m = collector.times.find(r.measured);
    auto b = collector.times.find(r.baseline);
    if (m == collector.times.end() || b == collector.times.end() || b->second <= 0) continue;
    // Significant digits, not decimals: a fast path against a quadratic
    // baseline is a ratio far below 0.001.
    std::printf("ratio %s %.4g\n", r.name.c_str(), m->second / b->second);
  }
  benchmark::Shutdown();
  return 0;
}

void interleavedRatio(const std::string& name, int rounds, const std::function<void()>& prepare,
                      const std::function<void()>& measured,
                      const std::function<void()>& baseline) {
  using Clock = std::chrono::steady_clock;
  auto timed = [&](const std::function<void()>& work) {
    prepare();
    const auto start = Clock::now();
    work();
    return std::chrono::duration<double>(Clock::now() - start).count();
  };
  std::vector<double> perRound;
  for (int i = 0; i < rounds; ++i) {
    const double m = timed(measured);
    const double b = timed(baseline);
    if (b > 0) perRound.push_back(m / b);
  }
  if (perRound.empty()) return;
  std::sort(perRound.begin(), perRound.end());
  std::printf("ratio %s %.4g\n", name.c_str(), perRound[perRound.size() / 2]);
}

}  // namespace trovik::bench
