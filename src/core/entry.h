#pragma once
// The grammar of link entries and the small routines that take one apart.
// Each routine raises its own extension event; the plain functions in
// namespace entry are their own work, given the separators explicitly.
#include <string>
#include <string_view>
#include <vector>

#include "core/events.h"
#include "core/variables.h"

namespace trovik {

inline constexpr std::string_view kRunMax = "+lrma";
inline constexpr std::string_view kRunMin = "+lrmi";
inline constexpr std::string_view kForced = "+f";
inline constexpr std::string_view kNullMember = "<null>";

enum class RunMode { Normal, Maximized, Minimized };

namespace entry {
int findcommand(std::string_view s, std::string_view commandsep);
std::string extractcommand(std::string_view s, std::string_view commandsep);
std::string removecommands(std::string_view s, std::string_view commandsep);
bool ismr(std::string_view s, std::string_view mrs);
bool islocalfile(std::string_view s);
std::string extractleafdir(std::string_view s, std::string_view commandsep);

// The members of an entry as the launcher runs them: a single entry is a
// group of one, empty and "<null>" members are skipped, a "+f" on any member
// asks for forced order, text after the last separator is no member.
struct Group {
  std::vector<std::string> members;
  bool forced = false;
};
Group splitGroup(std::string_view entry, std::string_view mrs);

// The members as the Add/Edit dialog lists them: every separator ends one,
// empty members are kept, text after the last separator is dropped.
std::vector<std::string> splitMembers(std::string_view entry, std::string_view mrs);
}  // namespace entry

// A member taken apart for running.
struct Member {
  std::string target;
  std::string parameters;
  RunMode mode = RunMode::Normal;
};

class EntrySyntax {
 public:
  EntrySyntax(Events& events, const Variables& vars) : events_(events), vars_(vars) {}

  int findcommand(std::string s);
  std::string extractcommand(std::string s);
  std::string removecommands(std::string s);
  bool ismr(std::string s);
  bool islocalfile(std::string s);
  std::string extractleafdir(std::string s);

  // Lower-cases a member, drops its question-mark prefix and splits it into
  // target, parameters and run mode, through the routines above.
  Member takeApart(std::string member);

 private:
  Events& events_;
  const Variables& vars_;
};

}  // namespace trovik
