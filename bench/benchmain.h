#pragma once
// A benchmark program's main: runs the registered benchmarks and prints, for
// each declared pair, "ratio <name> <measured / baseline>" from real time.
#include <string>

namespace trovik::bench {

void declareRatio(const std::string& name, const std::string& measured, const std::string& baseline);
int runBenchmarks(int argc, char** argv);

}  // namespace trovik::bench
