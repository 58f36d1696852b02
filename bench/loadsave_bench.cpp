// Loading and saving a large fileset against the bare cost of its I/O.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/application.h"
#include "benchmain.h"
#include "core/textlines.h"
#include "diskfs.h"

namespace trovik::bench {
namespace {

constexpr int kEntries = 100000;

struct Fileset {
  std::string dir;  // with a trailing backslash, as the program keeps it
  std::string names, links;
  Fileset() {
    dir = (std::filesystem::temp_directory_path() / "trovik-bench").string() + "\\";
    std::filesystem::create_directories(std::filesystem::temp_directory_path() / "trovik-bench");
    for (int i = 0; i < kEntries; ++i) {
      const std::string n = std::to_string(i);
      names += "Program number " + n + "\r\n";
      links += "C:\\Program Files\\Vendor " + n + "\\tool" + n + ".exe>:--open \"D:\\Docs\\" + n +
               ".txt\"+lrma\r\n";
    }
  }
};

Fileset& fileset() {
  static Fileset f;
  return f;
}

void writeFileset(FileSystem& disk) {
  disk.writeFile(fileset().dir + "name.qdx", fileset().names);
  disk.writeFile(fileset().dir + "link.qdx", fileset().links);
}

// What the program does: load the fileset, change one entry, save it.
struct Program {
  DiskFileSystem disk;
  QuietServices os;
  Platform platform{disk, os, os, os, os, os, os, os, os, os, os};
  Application app{platform, fileset().dir};
  Program() { app.vars.realpath = app.vars.apppath = fileset().dir; }
  void loadSave() {
    app.form1.loadlist();
    // One changed entry makes the save write both files in full.
    app.form1.List1.setItem(0, "changed");
    app.form1.link1.setItem(0, "C:\\changed.exe");
    app.form1.savelist();
  }
};

// The bare I/O of the same work: both files read whole and written back.
void rawReadWrite(FileSystem& disk) {
  std::string names = disk.readFile(fileset().dir + "name.qdx");
  std::string links = disk.readFile(fileset().dir + "link.qdx");
  names[0] = 'c';
  links[0] = 'D';
  disk.writeFile(fileset().dir + "name.qdx", names);
  disk.writeFile(fileset().dir + "link.qdx", links);
}

void BM_LoadSave(benchmark::State& state) {
  Program p;
  for (auto _ : state) {
    state.PauseTiming();
    writeFileset(p.disk);
    state.ResumeTiming();
    p.loadSave();
  }
}

void BM_LoadOnly(benchmark::State& state) {
  Program p;
  writeFileset(p.disk);
  for (auto _ : state) p.app.form1.loadlist();
}

BENCHMARK(BM_LoadSave)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_LoadOnly)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
}  // namespace trovik::bench

int main(int argc, char** argv) {
  using namespace trovik::bench;
  const int status = runBenchmarks(argc, argv);
  // The ratio: the program's load and save against the bare I/O, in turn.
  Program p;
  interleavedRatio(
      "loadsave_100k_vs_raw_io", 21, [&] { writeFileset(p.disk); }, [&] { p.loadSave(); },
      [&] { rawReadWrite(p.disk); });
  return status;
}
