#include "launch/launcher.h"

#include "core/paths.h"

namespace trovik {

namespace {
// The show command the shell gets, and the one the forced-order wait gets.
int shellShow(RunMode m) {
  return m == RunMode::Maximized ? swMaximize : m == RunMode::Minimized ? swShowMinimized : swShow;
}
int holdShow(RunMode m) {
  return m == RunMode::Maximized ? swMaximize : m == RunMode::Minimized ? swMinimize : swShow;
}

// The drive of a path: "C:" for a drive letter, "\\server\share" for a
// network path, empty otherwise.
std::string drivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (startsWith(path, "\\\\")) {
    const size_t server = path.find('\\', 2);
    if (server == std::string::npos) return path;
    const size_t share = path.find('\\', server + 1);
    return share == std::string::npos ? path : path.substr(0, share);
  }
  return {};
}

// A directory longer than this goes to the current directory instead of the
// shell's directory argument.
constexpr size_t kLongDirectory = 50;
}  // namespace

void Launcher::runlink(std::string entry) {
  if (launching_) {
    waiting_.push_back(std::move(entry));
    return;
  }
  closeAfterLaunch_ = false;
  try {
    runOne(std::move(entry));
    while (!waiting_.empty()) {
      std::string next = std::move(waiting_.front());
      waiting_.pop_front();
      runOne(std::move(next));
    }
  } catch (...) {
    // A launch that failed half-way closes nothing, now or with a later launch.
    closeAfterLaunch_ = false;
    throw;
  }
  // An exit mode closes the window once everything asked for has started.
  if (closeAfterLaunch_) {
    closeAfterLaunch_ = false;
    client_.closeAfterLaunch();
  }
}

void Launcher::openHelp(const std::string& page, const std::string& caption) {
  const std::string file = ctx_.vars.realpath + "helpfiles\\" + page;
  if (ctx_.fs().fileExists(file))
    runlink(file + "+lrma");
  else
    ctx_.message(ctx_.texts.nohelpfiles, caption, Buttons::Ok);
}

void Launcher::runOne(std::string entry) {
  launching_ = true;
  try {
    ctx_.events.run(
        "runlink", [&] { launchWork(entry); }, in(entry, &EventSlots::cstring));
  } catch (...) {
    launching_ = false;
    waiting_.clear();
    throw;
  }
  launching_ = false;
}

void Launcher::repairCounts() {
  ui::ListBox& names = client_.names();
  ui::ListBox& links = client_.links();
  if (names.count() <= links.count() || names.itemIndex() < links.count()) return;
  const Texts& t = ctx_.texts;
  const int d = names.count() - links.count();
  if (ctx_.message(t.f1runnosync1 + std::to_string(d) + t.f1runnosync2, t.warningt, Buttons::YesNo,
                   Icon::Warning) == Answer::Yes) {
    while (names.count() > links.count()) names.remove(names.count() - 1);
  } else {
    while (links.count() < names.count()) links.add("");
  }
}

void Launcher::launchWork(const std::string& entry) {
  repairCounts();
  client_.launchBegins();
  const entry::Group group = entry::splitGroup(entry, ctx_.vars.mrs);
  const int count = static_cast<int>(group.members.size());
  int i = 0;
  while (i < count) {
    client_.launchProgress(count - i);
    ctx_.platform.pump.processMessages();
    if (startMember(group.members[static_cast<size_t>(i)], group.forced, i == count - 1)) ++i;
    ctx_.platform.pump.processMessages();
    client_.launchProgress(0);
    if (client_.memberLaunched()) closeAfterLaunch_ = true;
  }
}

bool Launcher::startMember(const std::string& memberText, bool forced, bool last) {
  Variables& v = ctx_.vars;
  FileSystem& fs = ctx_.fs();
  const Member m = ctx_.syntax.takeApart(memberText);
  const bool local = ctx_.syntax.islocalfile(m.target);

  const std::string drive = drivePart(m.target);
  if (local && !drive.empty()) {
    const int type = ctx_.platform.system.driveType(drive + "\\");
    if ((type == dtRemovable || type == dtCdRom) && !fs.directoryExists(drive + "\\")) {
      // The user may insert the disc and retry, or give up on this member.
      return ctx_.message(ctx_.texts.f1drivenotrdy, ctx_.texts.maint, Buttons::RetryCancel,
                          Icon::Warning) == Answer::Cancel;
    }
  }

  std::string dir = directoryPart(m.target);
  std::string file = m.target;
  if (local && !v.disablelocalcheck) {
    const bool opendir = client_.opensDirectories();
    const std::string shown = opendir ? dir : m.target;
    const bool missing = !fs.fileExists(m.target) &&
                         (!fs.directoryExists(m.target) || !fileExtension(m.target).empty());
    if (missing &&
        ctx_.message(ctx_.texts.f1filenotfound1 + shown + ctx_.texts.f1filenotfound2,
                     ctx_.texts.warningt, Buttons::YesNo, Icon::Warning) != Answer::Yes) {
      client_.launchProgress(0);
      return true;
    }
    file = opendir ? std::string() : fileNamePart(m.target);
    if (utf16Length(dir) > kLongDirectory && fs.directoryExists(dir)) {
      ctx_.platform.system.setCurrentDirectory(dir);
      dir.clear();
    }
  }

  const WindowHandle prev = ctx_.platform.windows.foregroundWindow();
  const std::intptr_t result =
      ctx_.platform.shell.execute(v.masterhandle, file, m.parameters, dir, shellShow(m.mode));
  if (forced && !last)
    forcehold(static_cast<std::int32_t>(prev), static_cast<std::int32_t>(result), holdShow(m.mode),
              dir + file, true);
  return true;
}

void Launcher::forcehold(std::int32_t prev, std::int32_t result, std::int32_t show,
                         std::string path, bool flag) {
  ctx_.events.run(
      "forcehold",
      [&] {
        const Variables& v = ctx_.vars;
        if (v.fostyle == 0) {
          // Wait until the started program has come to the front, but not for ever.
          for (int count = 0;; ++count) {
            if (static_cast<std::int32_t>(ctx_.platform.windows.foregroundWindow()) != prev) break;
            if (count == 5) break;
            ctx_.platform.pump.processMessages();
            ctx_.platform.clock.sleep(v.forcewait / 2);
          }
        } else {
          ctx_.platform.clock.sleep(v.forcewait);
        }
      },
      in(prev, &EventSlots::cint), in(result, &EventSlots::cint2), in(show, &EventSlots::cint3),
      in(path, &EventSlots::cstring), in(flag, &EventSlots::cboolean));
}

bool Launcher::shutdownwindows(std::uint16_t flags) {
  return ctx_.events.call(
      "shutdownwindows", &EventSlots::cboolean,
      [&] { return ctx_.platform.system.exitWindows(flags); }, in(flags, &EventSlots::cword));
}

}  // namespace trovik
