// Sorting a large list by file name against the one-by-one insertion the
// order is defined by: each item moved in front of the first earlier item it
// belongs before, both keys worked out afresh at every comparison.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/application.h"
#include "benchmain.h"
#include "core/paths.h"
#include "diskfs.h"
#include "mainwindow/sorting.h"

namespace trovik::bench {
namespace {

struct Items {
  std::vector<std::string> names, links;
};

// Entries of every shape the list holds, in no particular order, with many
// equal file names so that ties matter as well.
Items items(int n) {
  Items it;
  unsigned x = 12345;
  auto next = [&x] { return x = x * 1103515245u + 12345u, (x >> 8) % 1000; };
  for (int i = 0; i < n; ++i) {
    const std::string a = std::to_string(next()), b = std::to_string(next());
    it.names.push_back("Program " + a);
    switch (i % 5) {
      case 0:
        it.links.push_back("C:\\Program Files\\Vendor " + b + "\\tool" + a + ".exe>:--open+lrma");
        break;
      case 1:
        it.links.push_back("D:\\Data\\Folder " + a + "\\");
        break;
      case 2:
        it.links.push_back("http://example.com/page" + a + ".htm");
        break;
      case 3:
        it.links.push_back("+fC:\\Apps\\run" + b + ".bat|C:\\Apps\\" + a + ".exe|");
        break;
      default:
        it.links.push_back("\\\\server\\share\\docs\\Report " + a + ".doc");
        break;
    }
  }
  return it;
}

struct Program {
  DiskFileSystem disk;
  QuietServices os;
  Platform platform{disk, os, os, os, os, os, os, os, os, os, os};
  Application app{platform, std::filesystem::temp_directory_path().string()};
  void fill(const Items& it) {
    app.form1.List1.setItems(it.names);
    app.form1.link1.setItems(it.links);
  }
};

// The comparison the list defines: A to Z lowered, by character code, a
// prefix before the longer text.
bool before(const std::string& a, const std::string& b) { return lower(a) < lower(b); }

void insertionSort(Program& p) {
  ui::ListBox& names = p.app.form1.List1;
  ui::ListBox& links = p.app.form1.link1;
  auto key = [&](int i) {
    return sortKeyOf(SortKey::FileName, names.item(i), links.item(i), p.app.syntax, p.app.vars);
  };
  for (int n = 1; n < names.count(); ++n) {
    for (int j = 0; j < n; ++j) {
      if (before(key(n), key(j))) {
        names.move(n, j);
        links.move(n, j);
        break;
      }
    }
  }
  p.app.form1.mmlist.setItems(names.items());
}

void BM_Sort(benchmark::State& state) {
  Program p;
  const Items it = items(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    p.fill(it);
    state.ResumeTiming();
    p.app.form1.Filename1Click(nullptr);
  }
}

void BM_InsertionSort(benchmark::State& state) {
  Program p;
  const Items it = items(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    p.fill(it);
    state.ResumeTiming();
    insertionSort(p);
  }
}

BENCHMARK(BM_Sort)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_InsertionSort)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

}  // namespace
}  // namespace trovik::bench

int main(int argc, char** argv) {
  trovik::bench::declareRatio("sort_10k_vs_insertion_10k", "BM_Sort/10000/real_time",
                              "BM_InsertionSort/10000/iterations:1/real_time");
  trovik::bench::declareRatio("sort_100k_vs_insertion_10k", "BM_Sort/100000/real_time",
                              "BM_InsertionSort/10000/iterations:1/real_time");
  return trovik::bench::runBenchmarks(argc, argv);
}
