#include "core/entry.h"

#include <array>

#include "core/paths.h"

namespace trovik {

namespace entry {

int findcommand(std::string_view s, std::string_view commandsep) {
  if (s.empty()) return 4;
  const int len = static_cast<int>(s.size());
  if (commandsep.size() == 2) {
    for (int i = 0; i + 1 < len; ++i)
      if (s[i] == commandsep[0] && s[i + 1] == commandsep[1]) return i + 3;
  }
  return len + 3;
}

namespace {
// Copy(s, pos, count) with 1-based pos, clamped as the text routines clamp it.
std::string copy(std::string_view s, int pos, int count) {
  if (pos < 1) pos = 1;
  if (count <= 0 || pos > static_cast<int>(s.size())) return {};
  return std::string(s.substr(static_cast<size_t>(pos - 1), static_cast<size_t>(count)));
}
constexpr int kRest = 0x7fffffff;

bool endsWithRunMode(std::string_view s) { return endsWith(s, kRunMax) || endsWith(s, kRunMin); }

std::string removeRunMode(std::string_view s) {
  if (endsWithRunMode(s)) s.remove_suffix(kRunMax.size());
  return std::string(s);
}
}  // namespace

std::string extractcommand(std::string_view s, std::string_view commandsep) {
  return copy(s, findcommand(s, commandsep), kRest);
}

std::string removecommands(std::string_view s, std::string_view commandsep) {
  const std::string t = removeRunMode(s);
  return copy(t, 1, findcommand(t, commandsep) - 3);
}

bool ismr(std::string_view s, std::string_view mrs) {
  return !mrs.empty() && s.find(mrs[0]) != std::string_view::npos;
}

bool islocalfile(std::string_view s) {
  static constexpr std::array<std::string_view, 8> kInternet = {
      "http", "nntp", "www", "irc", "ftp", "mailto", "https", "<null>"};
  for (auto p : kInternet)
    if (startsWith(s, p)) return false;
  return true;
}

namespace {
// The last directory name of a target that has lost its command and run mode.
std::string leafOf(const std::string& t) {
  const size_t b = t.rfind('\\');
  if (b == std::string::npos) return t;
  const size_t a = b == 0 ? std::string::npos : t.rfind('\\', b - 1);
  if (a != std::string::npos) return t.substr(a + 1, b - a - 1);
  const std::string after = t.substr(b + 1, 5);
  if (after != kRunMax && after != kRunMin) return t.substr(b);
  return t;
}
}  // namespace

std::string extractleafdir(std::string_view s, std::string_view commandsep) {
  return leafOf(removecommands(s, commandsep));
}

Group splitGroup(std::string_view entry, std::string_view mrs) {
  Group g;
  if (mrs.empty()) return g;
  std::string text(entry);
  const char sep = mrs[0];
  if (text.find(sep) == std::string::npos) text += sep;
  size_t start = 0;
  for (size_t pos = text.find(sep); pos != std::string::npos; pos = text.find(sep, start)) {
    std::string member = text.substr(start, pos - start);
    start = pos + 1;
    if (member.empty() || member == kNullMember) continue;
    if (startsWith(member, kForced)) {
      g.forced = true;
      member.erase(0, kForced.size());
    }
    g.members.push_back(std::move(member));
  }
  return g;
}

std::vector<std::string> splitMembers(std::string_view entry, std::string_view mrs) {
  std::vector<std::string> members;
  if (mrs.empty()) return members;
  size_t start = 0;
  for (size_t pos = entry.find(mrs[0]); pos != std::string_view::npos;
       pos = entry.find(mrs[0], start)) {
    members.emplace_back(entry.substr(start, pos - start));
    start = pos + 1;
  }
  return members;
}

}  // namespace entry

int EntrySyntax::findcommand(std::string s) {
  return events_.call(
      "findcommand", &EventSlots::cint, [&] { return entry::findcommand(s, vars_.commandsep); },
      in(s, &EventSlots::cstring));
}

std::string EntrySyntax::extractcommand(std::string s) {
  return events_.call(
      "extractcommand", &EventSlots::cstring2,
      [&] { return entry::copy(s, findcommand(s), entry::kRest); }, in(s, &EventSlots::cstring));
}

std::string EntrySyntax::removecommands(std::string s) {
  return events_.call(
      "removecommands", &EventSlots::cstring2,
      [&] {
        const std::string t = entry::removeRunMode(s);
        return entry::copy(t, 1, findcommand(t) - 3);
      },
      in(s, &EventSlots::cstring));
}

bool EntrySyntax::ismr(std::string s) {
  return events_.call(
      "ismr", &EventSlots::cboolean, [&] { return entry::ismr(s, vars_.mrs); },
      in(s, &EventSlots::cstring));
}

bool EntrySyntax::islocalfile(std::string s) {
  return events_.call(
      "islocalfile", &EventSlots::cboolean, [&] { return entry::islocalfile(s); },
      in(s, &EventSlots::cstring));
}

std::string EntrySyntax::extractleafdir(std::string s) {
  return events_.call(
      "extractleafdir", &EventSlots::cstring2, [&] { return entry::leafOf(removecommands(s)); },
      in(s, &EventSlots::cstring));
}

Member EntrySyntax::takeApart(std::string member) {
  member = lower(member);
  if (!member.empty() && member[0] == '?' && !vars_.ignorebc) {
    const size_t p = member.find('?', 1);
    member.erase(0, p == std::string::npos ? 1 : p + 1);
  }
  Member m;
  m.parameters = extractcommand(member);
  m.target = entry::copy(member, 1, findcommand(member) - 3);
  auto cutMode = [&m](std::string& s) {
    if (endsWith(s, kRunMin)) {
      m.mode = RunMode::Minimized;
      s.resize(s.size() - kRunMin.size());
    } else if (endsWith(s, kRunMax)) {
      m.mode = RunMode::Maximized;
      s.resize(s.size() - kRunMax.size());
    }
  };
  cutMode(m.target);
  cutMode(m.parameters);
  return m;
}

}  // namespace trovik
