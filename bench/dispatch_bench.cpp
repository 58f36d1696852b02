// Raising an extension event with 50 installed extensions of 20 registrations
// each: the indexed hook against the straightforward walk that splits every
// line of the list on every event. Both make the same calls into the DLLs.
#include <benchmark/benchmark.h>

#include <set>
#include <string>
#include <vector>

#include "app/application.h"
#include "benchmain.h"
#include "core/paths.h"
#include "core/textlines.h"
#include "diskfs.h"

namespace trovik::bench {
namespace {

constexpr int kExtensions = 50;
constexpr int kRegistrations = 20;
constexpr const char* kBase = "C:\\Trovik\\";

// Only what raising events touches: the list file and the DLL files exist.
class MemoryFiles : public FileSystem {
 public:
  bool fileExists(const std::string& path) const override { return files.count(lower(path)) > 0; }
  bool directoryExists(const std::string&) const override { return true; }
  std::optional<FileStamp> stamp(const std::string&) const override { return std::nullopt; }
  std::string readFile(const std::string&) const override { return list; }
  void writeFile(const std::string&, const std::string&) override {}
  void replaceFile(const std::string&, const std::string&) override {}
  bool deleteFile(const std::string&) override { return true; }
  std::vector<DirEntry> listDirectory(const std::string&) const override { return {}; }
  void createDirectory(const std::string&) override {}
  bool removeDirectory(const std::string&) override { return true; }
  void renameDirectory(const std::string&, const std::string&) override {}
  std::set<std::string> files;
  std::string list;
};

void TROVIK_CALL announced(TrovikGetFunction, TrovikGetVar, TrovikSetVar, TrovikGetVpVar,
                           TrovikSetVpVar, TrovikObject, const char*) {}
int exportCalls = 0;
void TROVIK_CALL exported() { ++exportCalls; }

// Every DLL exports everything, as cheaply as a DLL can.
class InstantLibraries : public QuietServices {
 public:
  LibraryHandle load(const std::string&) override { return ++loaded; }
  void* symbol(LibraryHandle, const std::string& name) override {
    return name == "dllinfo2" ? reinterpret_cast<void*>(&announced)
                              : reinterpret_cast<void*>(&exported);
  }
  void free(LibraryHandle) override {}
  LibraryHandle loaded = 0;
};

struct Installed {
  MemoryFiles files;
  InstantLibraries os;
  Platform platform{files, os, os, os, os, os, os, os, os, os, os};
  Application app{platform, kBase};
  std::vector<std::string> lines;

  Installed() {
    app.vars.realpath = app.vars.apppath = kBase;
    for (int e = 0; e < kExtensions; ++e) {
      const std::string dll = std::string(kBase) + "Ext\\ext" + std::to_string(e) + ".dll";
      files.files.insert(lower(dll));
      std::string record = dll + "|Extension " + std::to_string(e) + "|false|false|1.0";
      for (int r = 0; r < kRegistrations; ++r) {
        // The last extension also listens to runlink; the others to events of their own.
        const std::string event = e == kExtensions - 1 && r == 0
                                      ? "RunLink"
                                      : "Ext" + std::to_string(e) + "Event" + std::to_string(r);
        record += "|" + event + "|" + (r % 3 == 0 ? "Before" : r % 3 == 1 ? "after" : "override");
      }
      lines.push_back(record);
      lines.push_back("An extension among fifty.");
      lines.emplace_back();
    }
    files.list = joinLines(lines);
    files.files.insert(lower(std::string(kBase) + "vp2.qdx"));
    app.extensions.loadList();
  }
};

Installed& installed() {
  static Installed i;
  return i;
}

// The walk as written down: every line split at "|", every field from the
// sixth on compared with the event name, the when-word after a match.
bool walk(const std::vector<std::string>& list, std::string_view name, bool before, bool override,
          bool after, ExtensionHost& host) {
  bool result = false;
  for (const std::string& line : list) {
    if (line.empty()) continue;
    std::vector<std::string> fields;
    size_t start = 0;
    for (size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
      fields.push_back(line.substr(start, bar - start));
    fields.push_back(line.substr(start));
    for (size_t i = 5; i + 1 < fields.size();) {
      if (lower(fields[i]) != lower(name)) {
        ++i;
        continue;
      }
      const std::string when = lower(fields[i + 1]);
      if (when == "before" && before) host.runvpa(fields[0], std::string(name));
      if (when == "override" && override) {
        host.runvpa(fields[0], std::string(name));
        result = true;
      }
      if (when == "after" && after) host.runvpa(fields[0], std::string(name));
      i += 2;
    }
  }
  return result;
}

void BM_UnregisteredIndexed(benchmark::State& state) {
  Application& app = installed().app;
  for (auto _ : state)
    benchmark::DoNotOptimize(app.events.FireExtensionEvent("form1upclick", true, true, false));
}

void BM_UnregisteredWalk(benchmark::State& state) {
  Installed& i = installed();
  for (auto _ : state)
    benchmark::DoNotOptimize(walk(i.lines, "form1upclick", true, true, false, i.app.extensions));
}

void BM_RegisteredIndexed(benchmark::State& state) {
  Application& app = installed().app;
  for (auto _ : state)
    benchmark::DoNotOptimize(app.events.FireExtensionEvent("runlink", true, true, false));
}

void BM_RegisteredWalk(benchmark::State& state) {
  Installed& i = installed();
  for (auto _ : state)
    benchmark::DoNotOptimize(walk(i.lines, "runlink", true, true, false, i.app.extensions));
}

BENCHMARK(BM_UnregisteredIndexed)->UseRealTime();
BENCHMARK(BM_UnregisteredWalk)->UseRealTime();
BENCHMARK(BM_RegisteredIndexed)->UseRealTime();
BENCHMARK(BM_RegisteredWalk)->UseRealTime();

}  // namespace
}  // namespace trovik::bench

int main(int argc, char** argv) {
  // How many times longer the walk takes than the indexed hook: the measured
  // cost is a small fraction of the walk's, which three decimals would show as 0.
  trovik::bench::declareRatio("dispatch_walk_per_indexed_unregistered",
                              "BM_UnregisteredWalk/real_time", "BM_UnregisteredIndexed/real_time");
  trovik::bench::declareRatio("dispatch_walk_per_indexed_registered", "BM_RegisteredWalk/real_time",
                              "BM_RegisteredIndexed/real_time");
  return trovik::bench::runBenchmarks(argc, argv);
}
