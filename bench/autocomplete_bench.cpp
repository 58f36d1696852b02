// Path completion in the Add/Edit dialog on a directory of 100,000 entries:
// the keystroke that offers every entry (just after the backslash) and one
// that narrows them to about a thousand, against the bare listing of the
// directory and against completing the straightforward way (every entry
// looked at, the message queue served after each).
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/application.h"
#include "benchmain.h"
#include "core/paths.h"
#include "diskfs.h"

namespace trovik::bench {
namespace {

constexpr int kEntries = 100000;

struct BigDirectory {
  std::string dir;  // Windows style, with a trailing backslash
  BigDirectory() {
    const auto host = std::filesystem::temp_directory_path() / "trovik-autocomplete";
    dir = host.string() + "\\";
    std::filesystem::create_directories(host);
    if (std::distance(std::filesystem::directory_iterator(host), {}) >= kEntries) return;
    for (int i = 0; i < kEntries; ++i) std::ofstream(host / ("File" + std::to_string(i) + ".exe"));
  }
};

BigDirectory& big() {
  static BigDirectory d;
  return d;
}

struct Program {
  DiskFileSystem disk;
  QuietServices os;
  Platform platform{disk, os, os, os, os, os, os, os, os, os, os};
  Application app{platform, big().dir};
};

// The completion as first written down: every entry of the directory, the
// queue served after each one, the list filled one item at a time.
void straightforward(Program& p, const std::string& text) {
  ui::ListBox& list = p.app.AddEdit.autoclist;
  list.clear();
  const std::string dir = text.substr(0, text.rfind('\\') + 1);
  for (const DirEntry& e : p.disk.listDirectory(dir)) {
    if (e.name == "." || e.name == "..") continue;
    const std::string full = dir + e.name + (e.isDirectory ? "\\" : "");
    if (startsWith(lower(full), lower(text)) && lower(full) != lower(text)) list.add(full);
    p.os.processMessages();
  }
}

void BM_CompleteEveryEntry(benchmark::State& state) {
  Program p;
  for (auto _ : state) p.app.AddEdit.autocomplete(big().dir);
  state.counters["offered"] = p.app.AddEdit.autoclist.count();
}

void BM_CompleteNarrowed(benchmark::State& state) {
  Program p;
  for (auto _ : state) p.app.AddEdit.autocomplete(big().dir + "file12");
  state.counters["offered"] = p.app.AddEdit.autoclist.count();
}

void BM_ListingOnly(benchmark::State& state) {
  Program p;
  for (auto _ : state) benchmark::DoNotOptimize(p.disk.listDirectory(big().dir));
}

void BM_StraightforwardEveryEntry(benchmark::State& state) {
  Program p;
  for (auto _ : state) straightforward(p, big().dir);
}

BENCHMARK(BM_CompleteEveryEntry)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CompleteNarrowed)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_ListingOnly)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StraightforwardEveryEntry)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace trovik::bench

int main(int argc, char** argv) {
  using namespace trovik::bench;
  big();
  declareRatio("autocomplete_100k_all_vs_listing", "BM_CompleteEveryEntry/real_time",
               "BM_ListingOnly/real_time");
  declareRatio("autocomplete_100k_all_vs_straightforward", "BM_CompleteEveryEntry/real_time",
               "BM_StraightforwardEveryEntry/real_time");
  return runBenchmarks(argc, argv);
}
