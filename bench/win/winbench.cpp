// trovik-winbench.exe: times Trovik's window work against trovik-minimal.exe doing the same work,
// under the same Wine, interleaved round by round, and prints the median ratios as
// "ratio <name> <value>" lines (and the medians in milliseconds beside them).
//   trovik-winbench.exe <Trovik.exe> <trovik-minimal.exe> <work dir> [rounds]
// Measured:
//   - start-up: from starting the process to its list showing every name (1,000 links with 20
//     more filesets beside them; 100,000 links);
//   - fileset switch between two filesets of 10,000 links: Trovik's Switch menu command against
//     the minimal program reading and showing the other directory, each sent and waited for;
//   - working set once the 10,000 links show.
#include <windows.h>
// after windows.h
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kListId = 101;
constexpr ULONG_PTR kCommandIdQuery = 0x434D4944;  // the main window's "command by name" question
constexpr DWORD kLimitMs = 120000;

double now() {
  static LARGE_INTEGER f{};
  if (!f.QuadPart) QueryPerformanceFrequency(&f);
  LARGE_INTEGER c{};
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

[[noreturn]] void die(const std::string& why) {
  std::fprintf(stderr, "trovik-winbench: %s (error %lu)\n", why.c_str(), GetLastError());
  std::exit(1);
}

void writeFile(const std::string& path, const std::string& bytes) {
  HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) die("cannot write " + path);
  DWORD done = 0;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
  CloseHandle(f);
  if (done != bytes.size()) die("cannot write " + path);
}

// A fileset of n links in dir, like a user's: short names, program paths with parameters.
void fileset(const std::string& dir, int n, const std::string& tag) {
  CreateDirectoryA(dir.c_str(), nullptr);
  std::string names, links;
  for (int i = 0; i < n; ++i) {
    const std::string k = std::to_string(i);
    names += tag + " program " + k + "\r\n";
    links += "C:\\Program Files\\Vendor " + k + "\\tool" + k + ".exe>:--open \"D:\\Docs\\" + k +
             ".txt\"\r\n";
  }
  writeFile(dir + "\\name.qdx", names);
  writeFile(dir + "\\link.qdx", links);
}

// A base directory: Trovik.exe beside its options and filesets.
std::string base(const std::string& work, const char* name, const std::string& trovik) {
  const std::string dir = work + "\\" + name;
  CreateDirectoryA(dir.c_str(), nullptr);
  if (!CopyFileA(trovik.c_str(), (dir + "\\Trovik.exe").c_str(), FALSE)) die("cannot copy Trovik");
  // The one-time tips are already seen: a user's second start is measured, not a message box.
  writeFile(dir + "\\Trovik.ini",
            "[Form]\r\nCurrentFileSet=\r\n[Help]\r\nSwitch=1\r\nSwitchView=1\r\n");
  return dir;
}

struct Running {
  PROCESS_INFORMATION pi{};
  HWND window = nullptr;
  HWND list = nullptr;
};

struct Find {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK visibleWindowOf(HWND h, LPARAM param) {
  auto& f = *reinterpret_cast<Find*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(h, &pid);
  if (pid == f.pid && IsWindowVisible(h) && GetDlgItem(h, kListId)) {
    f.found = h;
    return FALSE;
  }
  return TRUE;
}

// Starts a program and returns once its window shows a list of `items` names, and the program
// has answered a message (so what it does on opening is done). ms: how long that took.
Running start(const std::string& commandLine, const std::string& dir, LRESULT items, double& ms) {
  Running r;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  std::string cl = commandLine;
  const double t0 = now();
  if (!CreateProcessA(nullptr, cl.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si,
                      &r.pi))
    die("cannot start " + commandLine);
  for (;;) {
    Find f{r.pi.dwProcessId, nullptr};
    EnumWindows(visibleWindowOf, reinterpret_cast<LPARAM>(&f));
    DWORD_PTR count = 0;
    if (f.found &&
        SendMessageTimeoutA(GetDlgItem(f.found, kListId), LB_GETCOUNT, 0, 0, SMTO_NORMAL, kLimitMs,
                            &count) &&
        static_cast<LRESULT>(count) == items) {
      DWORD_PTR ignored = 0;
      SendMessageTimeoutA(f.found, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &ignored);
      ms = now() - t0;
      r.window = f.found;
      r.list = GetDlgItem(f.found, kListId);
      return r;
    }
    if (now() - t0 > kLimitMs) die("no list of " + std::to_string(items) + " from " + commandLine);
    if (WaitForSingleObject(r.pi.hProcess, 1) == WAIT_OBJECT_0) die(commandLine + " ended early");
  }
}

void stop(Running& r) {
  PostMessageA(r.window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(r.pi.hProcess, 30000) != WAIT_OBJECT_0)
    TerminateProcess(r.pi.hProcess, 1);
  CloseHandle(r.pi.hThread);
  CloseHandle(r.pi.hProcess);
}

double workingSetMb(const Running& r) {
  PROCESS_MEMORY_COUNTERS pmc{};
  pmc.cb = sizeof pmc;
  if (!GetProcessMemoryInfo(r.pi.hProcess, &pmc, sizeof pmc)) die("cannot read the working set");
  return static_cast<double>(pmc.WorkingSetSize) / (1024.0 * 1024.0);
}

// Sends msg and returns how long the program took to carry it out and paint.
double timedSend(HWND window, UINT msg, WPARAM w) {
  const double t0 = now();
  DWORD_PTR ignored = 0;
  if (!SendMessageTimeoutA(window, msg, w, 0, SMTO_NORMAL, kLimitMs, &ignored))
    die("the program did not answer");
  SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kLimitMs, &ignored);
  return now() - t0;
}

WPARAM commandId(HWND window, const char* name) {
  COPYDATASTRUCT query{kCommandIdQuery, static_cast<DWORD>(std::strlen(name) + 1),
                       const_cast<char*>(name)};
  DWORD_PTR id = 0;
  if (!SendMessageTimeoutA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&query), SMTO_NORMAL,
                           kLimitMs, &id) ||
      !id)
    die(std::string("Trovik has no command ") + name);
  return static_cast<WPARAM>(id);
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

struct Measure {
  explicit Measure(const char* n) : name(n) {}
  const char* name;
  std::vector<double> trovik, minimal, ratio;
  void add(double t, double m) {
    trovik.push_back(t);
    minimal.push_back(m);
    if (m > 0) ratio.push_back(t / m);
  }
  void report(const char* unit) const {
    std::printf("ratio %s %.3g\n", name, median(ratio));
    std::printf("  %s: Trovik %.1f %s, minimal %.1f %s (medians of %zu)\n", name, median(trovik),
                unit, median(minimal), unit, trovik.size());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr,
                 "usage: trovik-winbench <Trovik.exe> <trovik-minimal.exe> <dir> [rounds]\n");
    return 2;
  }
  const std::string trovik = argv[1], minimal = argv[2], work = argv[3];
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  CreateDirectoryA(work.c_str(), nullptr);

  const std::string small = base(work, "small", trovik);
  fileset(small, 1000, "Base");
  for (int i = 1; i <= 20; ++i) fileset(small + "\\Set" + std::to_string(i), 50, "Set");
  const std::string large = base(work, "large", trovik);
  fileset(large, 100000, "Base");
  const std::string two = base(work, "two", trovik);
  fileset(two, 10000, "First");
  fileset(two + "\\Second", 10000, "Second");

  Measure startSmall{"wine_startup_1k_20sets"}, startLarge{"wine_startup_100k"},
      switching{"wine_switch_10k"}, memory{"wine_working_set_10k"};
  const std::string quote = "\"";
  for (int round = 0; round < rounds; ++round) {
    // Each round starts with the other program, so neither always gets the warmer system.
    const bool trovikFirst = round % 2 == 1;
    struct Case {
      Measure& m;
      const std::string& dir;
      LRESULT items;
    };
    for (const Case& c : {Case{startSmall, small, 1000}, Case{startLarge, large, 100000}}) {
      double t = 0, m = 0;
      for (int k = 0; k < 2; ++k) {
        const bool isTrovik = (k == 0) == trovikFirst;
        Running r = isTrovik ? start(quote + c.dir + "\\Trovik.exe" + quote, c.dir, c.items, t)
                             : start(quote + minimal + quote + " " + quote + c.dir + quote, c.dir,
                                     c.items, m);
        stop(r);
      }
      c.m.add(t, m);
      std::fprintf(stderr, "trovik-winbench: %s: Trovik %.0f ms, minimal %.0f ms\n", c.m.name, t,
                   m);
    }
    // Switching back and forth, three times each way, on one start of each program.
    double ignored = 0;
    Running rt = start(quote + two + "\\Trovik.exe" + quote, two, 10000, ignored);
    Running rm = start(quote + minimal + quote + " " + quote + two + quote + " " + quote + two +
                           "\\Second" + quote,
                       two, 10000, ignored);
    memory.add(workingSetMb(rt), workingSetMb(rm));
    const WPARAM toSecond = commandId(rt.window, "Switch1"),
                 toFirst = commandId(rt.window, "Switch0");
    std::vector<double> ts, ms;
    for (int i = 0; i < 6; ++i) {
      ts.push_back(timedSend(rt.window, WM_COMMAND, i % 2 ? toFirst : toSecond));
      ms.push_back(timedSend(rm.window, WM_APP, 0));
    }
    switching.add(median(ts), median(ms));
    stop(rt);
    stop(rm);
    std::fprintf(stderr, "trovik-winbench: round %d of %d done\n", round + 1, rounds);
  }
  startSmall.report("ms");
  startLarge.report("ms");
  switching.report("ms");
  memory.report("MB");
  return 0;
}
