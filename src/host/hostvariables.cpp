// The two tables extensions reach state through: the named variables of
// getvar/setvar and the event slots of getvpvar/setvpvar.
#include <charconv>
#include <limits>
#include <optional>
#include <variant>

#include "core/paths.h"
#include "core/textlines.h"
#include "host/hostapi.h"
#include "host/program.h"

namespace trovik {

namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// A decimal number as extensions write them: an optional sign and digits,
// nothing else, within the range of T.
template <class T>
std::optional<T> decimal(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  long long value = 0;
  const auto [end, err] = std::from_chars(s.data(), s.data() + s.size(), value);
  if (s.empty() || err != std::errc() || end != s.data() + s.size()) return std::nullopt;
  if (value < static_cast<long long>(std::numeric_limits<T>::min()) ||
      value > static_cast<long long>(std::numeric_limits<T>::max()))
    return std::nullopt;
  return static_cast<T>(value);
}

// ---------------------------------------------------------------------------
// getvar / setvar

enum class Access {
  ReadWrite,
  WriteOnly,      // a caption: it can be set but not read back
  WriteOnlySlot,  // an event slot, written once setvar has raised its own events
};

using VariableRef = std::variant<bool*, std::int32_t*, std::string*, std::uintptr_t*>;

struct HostVariable {
  std::string_view name;
  Access access;
  VariableRef (*locate)(Program&);
};

template <auto Field>
VariableRef var(Program& a) {
  return &(a.vars.*Field);
}
template <auto Field>
VariableRef text(Program& a) {
  return &(a.texts.*Field);
}
template <auto Field>
VariableRef slot(Program& a) {
  return &(a.events.slots.*Field);
}
VariableRef knOf(Program& a) { return &a.extensions.kn(); }
VariableRef ctabiOf(Program& a) { return &a.form1.ctabi; }

const HostVariable kVariables[] = {
    // Options.
    {"savepos", Access::ReadWrite, var<&Variables::savepos>},
    {"disvp", Access::ReadWrite, var<&Variables::disvp>},
    {"lclick", Access::ReadWrite, var<&Variables::lclick>},
    {"condel", Access::ReadWrite, var<&Variables::condel>},
    {"proxuse", Access::ReadWrite, var<&Variables::proxuse>},
    {"ldirect", Access::ReadWrite, var<&Variables::ldirect>},
    {"dropext", Access::ReadWrite, var<&Variables::dropext>},
    {"shutonx", Access::ReadWrite, var<&Variables::shutonx>},
    {"keepod", Access::ReadWrite, var<&Variables::keepod>},
    {"retainsort", Access::ReadWrite, var<&Variables::retainsort>},
    {"stray", Access::ReadWrite, var<&Variables::stray>},
    {"useforceflymr", Access::ReadWrite, var<&Variables::useforceflymr>},
    {"sh", Access::ReadWrite, var<&Variables::sh>},
    {"ignorebc", Access::ReadWrite, var<&Variables::ignorebc>},
    {"wconfirms", Access::ReadWrite, var<&Variables::wconfirms>},
    {"wconfirmr", Access::ReadWrite, var<&Variables::wconfirmr>},
    {"remtes", Access::ReadWrite, var<&Variables::remtes>},
    {"disflymr", Access::ReadWrite, var<&Variables::disflymr>},
    {"onetimemode", Access::ReadWrite, var<&Variables::onetimemode>},
    {"disablelocalcheck", Access::ReadWrite, var<&Variables::disablelocalcheck>},
    {"exceptonmode", Access::ReadWrite, var<&Variables::exceptonmode>},
    {"forcewait", Access::ReadWrite, var<&Variables::forcewait>},
    {"autoclevel", Access::ReadWrite, var<&Variables::autoclevel>},
    {"fostyle", Access::ReadWrite, var<&Variables::fostyle>},
    {"userlevel", Access::ReadWrite, var<&Variables::userlevel>},
    {"slkey", Access::ReadWrite, var<&Variables::slkey>},
    {"usite", Access::ReadWrite, var<&Variables::usite>},
    {"proxn", Access::ReadWrite, var<&Variables::proxn>},
    {"proxun", Access::ReadWrite, var<&Variables::proxun>},
    {"proxport", Access::ReadWrite, var<&Variables::proxport>},
    {"commandsep", Access::ReadWrite, var<&Variables::commandsep>},
    {"mrs", Access::ReadWrite, var<&Variables::mrs>},
    // Working state.
    {"apppath", Access::ReadWrite, var<&Variables::apppath>},
    {"realpath", Access::ReadWrite, var<&Variables::realpath>},
    {"masterhandle", Access::ReadWrite, var<&Variables::masterhandle>},
    {"curitem", Access::ReadWrite, var<&Variables::curitem>},
    {"ctabi", Access::ReadWrite, ctabiOf},
    {"cvr", Access::ReadWrite, var<&Variables::cvr>},
    {"number", Access::ReadWrite, var<&Variables::number>},
    {"kn", Access::ReadWrite, knOf},
    {"norun", Access::ReadWrite, var<&Variables::norun>},
    {"maxed", Access::ReadWrite, var<&Variables::maxed>},
    {"maxnfix", Access::ReadWrite, var<&Variables::maxnfix>},
    {"sortbreak", Access::ReadWrite, var<&Variables::sortbreak>},
    {"noconfirmsave", Access::ReadWrite, var<&Variables::noconfirmsave>},
    {"applied", Access::ReadWrite, var<&Variables::applied>},
    {"editing", Access::ReadWrite, var<&Variables::editing>},
    {"adding", Access::ReadWrite, var<&Variables::adding>},
    {"nolist", Access::ReadWrite, var<&Variables::nolist>},
    {"eshut", Access::ReadWrite, var<&Variables::eshut>},
    {"importing", Access::ReadWrite, var<&Variables::importing>},
    {"exporting", Access::ReadWrite, var<&Variables::exporting>},
    {"maint", Access::WriteOnly, text<&Texts::maint>},
    {"warningt", Access::WriteOnly, text<&Texts::warningt>},
    {"confirmt", Access::WriteOnly, text<&Texts::confirmt>},
    {"cstring", Access::WriteOnlySlot, slot<&EventSlots::cstring>},
    {"cstring2", Access::WriteOnlySlot, slot<&EventSlots::cstring2>},
};

// One lookup over both the table above and every interface text, by name.
struct VariableFinder {
  std::unordered_map<std::string_view, HostVariable> byName;
  VariableFinder() {
    for (const auto& v : kVariables) byName.emplace(v.name, v);
    for (const auto& t : Texts::table()) {
      // Each interface text reads and writes the text of the key of its name.
      byName.emplace(t.key, HostVariable{t.key, Access::ReadWrite, nullptr});
    }
  }
  const HostVariable* find(std::string_view lowerName) const {
    auto it = byName.find(lowerName);
    return it == byName.end() ? nullptr : &it->second;
  }
};

const HostVariable* findVariable(std::string_view lowerName) {
  static const VariableFinder finder;
  return finder.find(lowerName);
}

VariableRef locate(Program& a, const HostVariable& v) {
  return v.locate ? v.locate(a) : VariableRef{a.texts.find(v.name)};
}

// ---------------------------------------------------------------------------
// getvpvar / setvpvar

enum class SlotKind {
  Integer,  // decimal
  Word,     // decimal, kept to 16 bits
  Handle,   // decimal
  Address,  // decimal
  Text,     // as it stands
  Boolean,  // through booltostr / strtobool
  Object,   // the pointer itself in place of the text
  Lines,    // lines ended by CR LF
  Count,    // kn
  Handles,  // ol: the handle column of the loaded-library table
  Paths,    // sl: the path column
};

using SlotMember =
    std::variant<std::monostate, std::int32_t EventSlots::*, std::uint16_t EventSlots::*,
                 std::uintptr_t EventSlots::*, void * EventSlots::*, std::string EventSlots::*,
                 bool EventSlots::*, std::vector<std::string> EventSlots::*>;

struct SlotVariable {
  std::string_view name;
  SlotKind kind;
  SlotMember member;
};

const SlotVariable kSlots[] = {
    {"cint", SlotKind::Integer, &EventSlots::cint},
    {"cint2", SlotKind::Integer, &EventSlots::cint2},
    {"cint3", SlotKind::Integer, &EventSlots::cint3},
    {"cint4", SlotKind::Integer, &EventSlots::cint4},
    {"kn", SlotKind::Count, {}},
    {"cword", SlotKind::Word, &EventSlots::cword},
    {"chandle", SlotKind::Handle, &EventSlots::chandle},
    {"cfarproc", SlotKind::Address, &EventSlots::cfarproc},
    {"cstring", SlotKind::Text, &EventSlots::cstring},
    {"cstring2", SlotKind::Text, &EventSlots::cstring2},
    {"cboolean", SlotKind::Boolean, &EventSlots::cboolean},
    {"cobject", SlotKind::Object, &EventSlots::cobject},
    {"cobject2", SlotKind::Object, &EventSlots::cobject2},
    {"cobject3", SlotKind::Object, &EventSlots::cobject3},
    {"cstringlist", SlotKind::Lines, &EventSlots::cstringlist},
    {"clistbox", SlotKind::Lines, &EventSlots::clistbox},
    {"ol", SlotKind::Handles, {}},
    {"sl", SlotKind::Paths, {}},
};

const SlotVariable* findSlot(std::string_view lowerName) {
  for (const auto& s : kSlots)
    if (s.name == lowerName) return &s;
  return nullptr;
}

template <class T>
T EventSlots::*member(const SlotVariable& s) {
  return std::get<T EventSlots::*>(s.member);
}

}  // namespace

std::string HostApi::getvar(std::string name) {
  return app_.events.call(
      "getvar", &EventSlots::cstring2,
      [&]() -> std::string {
        const HostVariable* v = findVariable(lower(name));
        if (!v || v->access != Access::ReadWrite) return "?!?!";
        return std::visit(Overloaded{[&](bool* b) { return booltostr(*b); },
                                     [](std::int32_t* i) { return std::to_string(*i); },
                                     [](std::string* s) { return *s; },
                                     [](std::uintptr_t* h) { return std::to_string(*h); }},
                          locate(app_, *v));
      },
      in(name, &EventSlots::cstring));
}

bool HostApi::setvar(std::string name, std::string value) {
  // A slot written through setvar gets its value once setvar has put its own
  // name and value back into the slots; otherwise the write would vanish.
  std::string* slotTarget = nullptr;
  std::string slotValue;
  bool done = true;
  app_.events.run(
      "setvar",
      [&] {
        const std::string given = value;
        value = lower(value);
        name = lower(name);
        const bool flag = strtobool(value);
        const HostVariable* v = findVariable(name);
        if (!v) {
          done = false;
          return;
        }
        std::visit(Overloaded{[&](bool* b) { *b = flag; },
                              [&](std::int32_t* i) {
                                // Not a number: the variable keeps its value.
                                const auto n = decimal<std::int32_t>(value);
                                if (n) *i = *n;
                                done = n.has_value();
                              },
                              [&](std::string* s) {
                                if (v->access == Access::WriteOnlySlot) {
                                  slotTarget = s;
                                  slotValue = given;
                                } else {
                                  *s = given;
                                }
                              },
                              [&](std::uintptr_t* h) {
                                const auto n = decimal<std::int32_t>(value);
                                if (n)
                                  *h = static_cast<std::uintptr_t>(static_cast<std::intptr_t>(*n));
                                done = n.has_value();
                              }},
                   locate(app_, *v));
      },
      in(name, &EventSlots::cstring), in(value, &EventSlots::cstring2));
  if (slotTarget) *slotTarget = std::move(slotValue);
  return done;
}

HostApi::SlotValue HostApi::getvpvar(std::string_view name) {
  const SlotVariable* s = findSlot(lower(name));
  if (!s) return {"?!"};
  EventSlots& slots = app_.events.slots;
  switch (s->kind) {
    case SlotKind::Integer:
      return {std::to_string(slots.*member<std::int32_t>(*s))};
    case SlotKind::Word:
      return {std::to_string(slots.*member<std::uint16_t>(*s))};
    case SlotKind::Handle:
      return {std::to_string(slots.*member<std::uintptr_t>(*s))};
    case SlotKind::Address:
      return {std::to_string(reinterpret_cast<std::uintptr_t>(slots.*member<void*>(*s)))};
    case SlotKind::Text:
      return {slots.*member<std::string>(*s)};
    case SlotKind::Boolean:
      return {booltostr(slots.*member<bool>(*s))};
    case SlotKind::Object:
      return {{}, slots.*member<void*>(*s), true};
    case SlotKind::Lines:
      return {joinLines(slots.*member<std::vector<std::string>>(*s))};
    case SlotKind::Count:
      return {std::to_string(app_.extensions.kn())};
    case SlotKind::Handles: {
      std::vector<std::string> lines;
      for (const auto& e : app_.extensions.loaded()) lines.push_back(std::to_string(e.handle));
      return {joinLines(lines)};
    }
    case SlotKind::Paths: {
      std::vector<std::string> lines;
      for (const auto& e : app_.extensions.loaded()) lines.push_back(e.path);
      return {joinLines(lines)};
    }
  }
  return {"?!"};
}

bool HostApi::setvpvar(std::string_view name, const char* value) {
  const SlotVariable* s = findSlot(lower(name));
  if (!s) return false;
  EventSlots& slots = app_.events.slots;
  if (s->kind == SlotKind::Object) {
    slots.*member<void*>(*s) = const_cast<char*>(value);
    return true;
  }
  const std::string text = app_.extensions.fromCaller(value);
  switch (s->kind) {
    case SlotKind::Integer:
      if (auto n = decimal<std::int32_t>(text)) return slots.*member<std::int32_t>(*s) = *n, true;
      return false;
    case SlotKind::Word:
      if (auto n = decimal<std::int32_t>(text))
        return slots.*member<std::uint16_t>(*s) = static_cast<std::uint16_t>(*n & 0xFFFF), true;
      return false;
    case SlotKind::Handle:
      if (auto n = decimal<long long>(text))
        return slots.*member<std::uintptr_t>(*s) = static_cast<std::uintptr_t>(*n), true;
      return false;
    case SlotKind::Address:
      if (auto n = decimal<long long>(text))
        return slots.*member<void*>(*s) = reinterpret_cast<void*>(static_cast<std::uintptr_t>(*n)),
               true;
      return false;
    case SlotKind::Text:
      slots.*member<std::string>(*s) = text;
      return true;
    case SlotKind::Boolean: {
      const bool b = strtobool(text);
      slots.*member<bool>(*s) = b;
      return true;
    }
    case SlotKind::Lines:
      slots.*member<std::vector<std::string>>(*s) = splitLines(text);
      return true;
    case SlotKind::Count:
      // Only what kn reports: the table itself is what the host counts by.
      if (auto n = decimal<std::int32_t>(text)) return app_.extensions.kn() = *n, true;
      return false;
    case SlotKind::Handles:
      // The host calls and frees only handles it got from loading a DLL itself.
      return false;
    case SlotKind::Paths:
      return app_.extensions.replacePaths(splitLines(text));
    case SlotKind::Object:
      break;
  }
  return false;
}

}  // namespace trovik
