// The table of host functions that getfunction hands out by name. Each entry
// is a plain C function with the signature the SDK header declares for it
// (a thunk generated from the lambda on its line) that reaches the program
// through the one application object. Adding a routine is adding one line.
#include <exception>
#include <string>
#include <type_traits>
#include <vector>

#include "config/options.h"
#include "extensions/abi.h"
#include "host/hostapi.h"
#include "host/program.h"

namespace trovik {

namespace {

// Text from the extension being called, in its own form (see toCaller).
std::string str(const char* s) { return hostProgram().extensions.fromCaller(s); }

// What crosses back to the extension: text stays with the host until the
// same function is called again; object slots hand over the object itself.
template <class R, class V>
R toAbi(const void*, V&& value) {
  return static_cast<R>(value);
}
template <>
const char* toAbi<const char*, std::string>(const void* fn, std::string&& value) {
  Program& a = hostProgram();
  return a.hostapi.keep(fn, a.extensions.toCaller(std::move(value)));
}
template <>
const char* toAbi<const char*, HostApi::SlotValue>(const void* fn, HostApi::SlotValue&& value) {
  if (value.isObject) return static_cast<const char*>(value.object);
  Program& a = hostProgram();
  return a.hostapi.keep(fn, a.extensions.toCaller(std::move(value.text)));
}

// An error must not unwind through the extension's own code, which was not
// built to let it pass: it stops at the barrier and the call returns an empty
// answer, as the failed operation would have left things.
template <class Sig, auto Body>
struct Thunk;

template <class R, class... A, auto Body>
struct Thunk<R(TROVIK_CALL*)(A...), Body> {
  static R TROVIK_CALL call(A... a) {
    try {
      if constexpr (std::is_void_v<R>) {
        Body(hostProgram(), a...);
      } else {
        using V = std::decay_t<decltype(Body(hostProgram(), a...))>;
        return toAbi<R, V>(reinterpret_cast<const void*>(&call), Body(hostProgram(), a...));
      }
    } catch (...) {
      reportFailure(hostProgram().ctx, std::current_exception());
    }
    if constexpr (!std::is_void_v<R>) return R{};
  }
};

// The thunk of a lambda under the type the SDK header gives for it.
template <class Sig, auto Body>
Sig thunk() {
  return &Thunk<Sig, Body>::call;
}

struct HostFunction {
  std::string_view name;
  void* address;
};
template <class Sig, auto Body>
HostFunction fn(std::string_view name) {
  return {name, reinterpret_cast<void*>(thunk<Sig, Body>())};
}

MessageRecord record(const TrovikMessage& m) { return {m.msg, m.wParam, m.lParam, m.result}; }
TrovikMessage record(const MessageRecord& m) { return {m.msg, m.wParam, m.lParam, m.result}; }
QueuedMessage record(const TrovikMsg& m) {
  return {m.hwnd, m.message, m.wParam, m.lParam, m.time, m.x, m.y};
}
TrovikMsg record(const QueuedMessage& m) {
  return {m.hwnd, m.message, m.wParam, m.lParam, m.time, m.x, m.y};
}

// A message slot read into, or written from, the caller's record.
template <MessageRecord EventSlots::*Slot>
void getMessage(Program& a, TrovikMessage* out) {
  if (out) *out = record(a.events.slots.*Slot);
}
template <MessageRecord EventSlots::*Slot>
void setMessage(Program& a, const TrovikMessage* in) {
  if (in) a.events.slots.*Slot = record(*in);
}

using S = EventSlots;
using A = Program;

// The five functions every extension also receives in "dllinfo2": the same
// thunks as under their names in the table.
constexpr auto getfunctionBody = [](A& a, const char* n) { return a.hostapi.getfunction(str(n)); };
constexpr auto getvarBody = [](A& a, const char* n) { return a.hostapi.getvar(str(n)); };
constexpr auto setvarBody = [](A& a, const char* n, const char* v) {
  return a.hostapi.setvar(str(n), str(v));
};
constexpr auto getvpvarBody = [](A& a, const char* n) { return a.hostapi.getvpvar(str(n)); };
constexpr auto setvpvarBody = [](A& a, const char* n, const char* v) {
  return a.hostapi.setvpvar(str(n), v);
};

// Any of the five windows getform1 and its sisters hand out (or a form
// event's cobject); anything else is no form and is left alone.
void rescalecontrols(A& a, void* form) {
  const int dpi = a.ctx.platform.windows.screen().dpi;
  if (form == &a.form1) a.form1.adjustForLargeFonts(dpi);
  if (form == &a.AddEdit) a.AddEdit.rescalecontrols(dpi);
  if (form == &a.OptionsForm) a.OptionsForm.rescalecontrols(dpi);
  if (form == &a.acf) a.acf.rescalecontrols(dpi);
  if (form == &a.OpenFileDir) a.OpenFileDir.rescalecontrols(dpi);
}

const std::vector<HostFunction>& table() {
  // clang-format off
  static const std::vector<HostFunction> functions = {
    fn<TrovikProc, [](A& a) { a.form1.loadoptions(); }>("loadoptions"),
    fn<TrovikProc, [](A& a) { a.form1.saveformstate(); }>("saveformstate"),
    fn<TrovikTextProc, [](A& a, const char* dir) { blankset(a.ctx, str(dir)); }>("blankset"),
    fn<TrovikProc, [](A& a) { a.form1.loadlist(); }>("loadlist"),
    fn<TrovikProc, [](A& a) { a.form1.savelist(); }>("savelist"),
    fn<TrovikTextProc, [](A& a, const char* e) { a.launcher.runlink(str(e)); }>("runlink"),
    fn<TrovikForceHold, [](A& a, std::int32_t p, std::int32_t r, std::int32_t s, const char* t, TrovikBool f) { a.launcher.forcehold(p, r, s, str(t), f != 0); }>("forcehold"),
    fn<TrovikTextToBool, [](A& a, const char* e) { return a.syntax.ismr(str(e)); }>("ismr"),
    fn<TrovikTextToBool, [](A& a, const char* e) { return a.syntax.islocalfile(str(e)); }>("islocalfile"),
    fn<TrovikTextToInt, [](A& a, const char* e) { return a.syntax.findcommand(str(e)); }>("findcommand"),
    fn<TrovikTextToText, [](A& a, const char* e) { return a.syntax.extractcommand(str(e)); }>("extractcommand"),
    fn<TrovikTextToText, [](A& a, const char* e) { return a.syntax.removecommands(str(e)); }>("removecommands"),
    fn<TrovikTextToText, [](A& a, const char* e) { return a.syntax.extractleafdir(str(e)); }>("extractleafdir"),
    fn<TrovikAutobuild, [](A& a, const char* root, std::int32_t i) { return a.form1.autobuild(str(root), i); }>("autobuild"),
    fn<TrovikIntProc, [](A& a, std::int32_t i) { a.AddEdit.madd(i); }>("madd"),
    fn<TrovikIntProc, [](A& a, std::int32_t k) { a.AddEdit.clcommmrl(k); }>("clcommmrl"),
    fn<TrovikProc, [](A& a) { a.AddEdit.clcommedit2(); }>("clcommedit2"),
    fn<TrovikProc, [](A& a) { a.form1.resort(); }>("resort"),
    fn<TrovikProc, [](A& a) { a.form1.sortoff(); }>("sortoff"),
    fn<TrovikProc, [](A& a) { a.form1.modesoff(); }>("modesoff"),
    fn<TrovikProc, [](A& a) { a.form1.nextfileset(); }>("nextfileset"),
    fn<TrovikProc, [](A& a) { a.form1.previousfileset(); }>("previousfileset"),
    fn<TrovikProc, [](A& a) { a.form1.createnewfileset(); }>("createnewfileset"),
    fn<TrovikProc, [](A& a) { a.form1.centremain(); }>("centremain"),
    fn<TrovikProc, [](A& a) { a.form1.showhints(); }>("showhints"),
    fn<TrovikRescaleControls, rescalecontrols>("rescalecontrols"),
    fn<TrovikProc, [](A& a) { a.AddEdit.autosize(); }>("autosize"),
    fn<TrovikShutdownWindows, [](A& a, std::int32_t flags) { return a.launcher.shutdownwindows(static_cast<std::uint16_t>(flags)); }>("shutdownwindows"),
    fn<TrovikForceForegroundWindow, [](A& a, void* w) { return a.form1.forceforegroundwindow(reinterpret_cast<WindowHandle>(w)); }>("forceforegroundwindow"),
    fn<TrovikTextProc, [](A& a, const char*) { a.form1.loadformtext(); }>("loadformtext"),
    fn<TrovikTextProc, [](A& a, const char*) { a.form1.loadhelptext(); }>("loadhelptext"),
    fn<TrovikGetObject, [](A& a) -> void* { return &a.form1; }>("getform1"),
    fn<TrovikGetObject, [](A& a) -> void* { return &a.AddEdit; }>("getaddedit"),
    fn<TrovikGetObject, [](A& a) -> void* { return &a.OptionsForm; }>("getoptionsform"),
    fn<TrovikProc, [](A& a) { a.hostapi.updateform1(); }>("updateform1"),
    fn<TrovikProc, [](A& a) { a.hostapi.updateaddedit(); }>("updateaddedit"),
    fn<TrovikProc, [](A& a) { a.hostapi.updateoptions(); }>("updateoptions"),
    fn<TrovikGetVar, getvarBody>("getvar"),
    fn<TrovikSetVar, setvarBody>("setvar"),
    fn<TrovikGetVpVar, getvpvarBody>("getvpvar"),
    fn<TrovikSetVpVar, setvpvarBody>("setvpvar"),
    fn<TrovikTextToBool, [](A& a, const char* t) { return a.hostapi.strtobool(str(t)); }>("strotobool"),
    fn<TrovikBoolToStr, [](A& a, TrovikBool b) { return a.hostapi.booltostr(b != 0); }>("booltostr"),
    fn<TrovikLoadVp, [](A& a, const char* e, TrovikBool b, TrovikBool o, TrovikBool f) { return a.events.FireExtensionEvent(str(e), b != 0, o != 0, f != 0); }>("loadvp"),
    fn<TrovikRunVpa, [](A& a, const char* dll, const char* e) { a.extensions.runvpa(str(dll), str(e)); }>("runvpa"),
    fn<TrovikTextToInt, [](A& a, const char* dll) { return a.extensions.isloaded(str(dll)); }>("isloaded"),
    fn<TrovikProc, [](A& a) { a.OptionsForm.loadvplist(); }>("loadvplist"),
    fn<TrovikGetInt, [](A& a) { return static_cast<std::int32_t>(a.events.slots.mousebutton); }>("getmousebutton"),
    fn<TrovikSetInt, [](A& a, std::int32_t v) { a.events.slots.mousebutton = static_cast<MouseButton>(v); }>("setmousebutton"),
    fn<TrovikGetInt, [](A& a) { return static_cast<std::int32_t>(a.events.slots.shiftstate); }>("getshiftstate"),
    fn<TrovikSetInt, [](A& a, std::int32_t v) { a.events.slots.shiftstate = static_cast<ShiftState>(v); }>("setshiftstate"),
    fn<TrovikGetInt, [](A& a) { return static_cast<std::int32_t>(a.events.slots.dragstate); }>("getdragstate"),
    fn<TrovikSetInt, [](A& a, std::int32_t v) { a.events.slots.dragstate = static_cast<DragState>(v); }>("setdragstate"),
    fn<TrovikGetInt, [](A& a) { return static_cast<std::int32_t>(a.events.slots.closeaction); }>("getcloseaction"),
    fn<TrovikSetInt, [](A& a, std::int32_t v) { a.events.slots.closeaction = static_cast<CloseAction>(v); }>("setcloseaction"),
    fn<TrovikGetMessage, getMessage<&S::message>>("getmessage"),
    fn<TrovikSetMessage, setMessage<&S::message>>("setmessage"),
    fn<TrovikGetMsg, [](A& a, TrovikMsg* out) { if (out) *out = record(a.events.slots.msg); }>("getmsg"),
    fn<TrovikSetMsg, [](A& a, const TrovikMsg* in) { if (in) a.events.slots.msg = record(*in); }>("setmsg"),
    fn<TrovikGetMessage, getMessage<&S::wmdropfiles>>("getwmdropfiles"),
    fn<TrovikSetMessage, setMessage<&S::wmdropfiles>>("setwmdropfiles"),
    fn<TrovikGetMessage, getMessage<&S::wmendsession>>("getwmendsession"),
    fn<TrovikSetMessage, setMessage<&S::wmendsession>>("setwmendsession"),
    fn<TrovikGetMessage, getMessage<&S::wmwindowposchanging>>("getwmwindowposchanging"),
    fn<TrovikSetMessage, setMessage<&S::wmwindowposchanging>>("setwmwindowposchanging"),
    fn<TrovikProc, [](A& a) { a.AddEdit.refreshmrl(); }>("refreshmrl"),
    fn<TrovikTextProc, [](A& a, const char* t) { a.AddEdit.autocomplete(str(t)); }>("autocomplete"),
    fn<TrovikGetObject, [](A& a) -> void* { return &a.acf; }>("getacf"),
    fn<TrovikGetObject, [](A& a) -> void* { return &a.OpenFileDir; }>("getopenfiledir"),
    fn<TrovikProc, [](A& a) { a.hostapi.updateacf(); }>("updateacf"),
    fn<TrovikProc, [](A& a) { a.hostapi.updateopenfiledir(); }>("updateopenfiledir"),
  };
  // clang-format on
  return functions;
}

}  // namespace

void* hostFunction(std::string_view lowerName) {
  for (const HostFunction& f : table())
    if (f.name == lowerName) return f.address;
  return nullptr;
}

HostEntryPoints hostEntryPoints() {
  return {thunk<TrovikGetFunction, getfunctionBody>(), thunk<TrovikGetVar, getvarBody>(),
          thunk<TrovikSetVar, setvarBody>(),           thunk<TrovikGetVpVar, getvpvarBody>(),
          thunk<TrovikSetVpVar, setvpvarBody>(),       nullptr};
}

}  // namespace trovik
