#pragma once
// The event slots shared by every handler and routine, and the one helper that
// runs a handler the way extensions expect: parameters into their slots, the
// "before" and "override" registrations, the handler's own work unless an
// extension replaced it, the parameters stored again, the "after"
// registrations, and the result taken from its slot.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "ui/input.h"

namespace trovik {

struct MessageRecord {  // message, wParam, lParam, result
  std::uint32_t msg = 0, wParam = 0, lParam = 0, result = 0;
  bool operator==(const MessageRecord&) const = default;
};
struct QueuedMessage {  // window, message, wParam, lParam, time, point x, point y
  std::uint32_t hwnd = 0, message = 0, wParam = 0, lParam = 0, time = 0, x = 0, y = 0;
  bool operator==(const QueuedMessage&) const = default;
};

struct EventSlots {
  void* cobject = nullptr;
  void* cobject2 = nullptr;
  void* cobject3 = nullptr;
  std::int32_t cint = 0;
  std::int32_t cint2 = 0;
  std::int32_t cint3 = 0;
  std::int32_t cint4 = 0;
  std::uint16_t cword = 0;
  std::string cstring;
  std::string cstring2;
  bool cboolean = false;
  std::uintptr_t chandle = 0;
  void* cfarproc = nullptr;
  MouseButton mousebutton = MouseButton::Left;
  ShiftState shiftstate = 0;
  DragState dragstate = DragState::Enter;
  CloseAction closeaction = CloseAction::None;
  MessageRecord message;
  QueuedMessage msg;
  MessageRecord wmdropfiles;
  MessageRecord wmendsession;
  MessageRecord wmwindowposchanging;
  // Line lists extensions hand each other: the host never fills them itself.
  std::vector<std::string> cstringlist;
  std::vector<std::string> clistbox;
};

// One parameter of a handler tied to its slot. An out-parameter is also taken
// back after the closing event (the close handler's action, blankset's directory).
template <class T>
struct SlotBinding {
  T* local;
  T EventSlots::*slot;
  bool out;
  void store(EventSlots& s) const { s.*slot = *local; }
  void load(const EventSlots& s) const { *local = s.*slot; }
};

template <class T>
SlotBinding<T> in(T& local, T EventSlots::*slot) {
  return {&local, slot, false};
}
template <class T>
SlotBinding<T> inout(T& local, T EventSlots::*slot) {
  return {&local, slot, true};
}

class Events {
 public:
  // The extension hook: (event name, before, override, after) -> overridden.
  using Hook = std::function<bool(std::string_view, bool, bool, bool)>;

  EventSlots slots;

  void setHook(Hook hook) { hook_ = std::move(hook); }
  bool FireExtensionEvent(std::string_view name, bool before, bool override, bool after) {
    return hook_ ? hook_(name, before, override, after) : false;
  }

  // Stops every loaded extension with a stop reason (stopvp), for code that
  // reaches the extension system only through its events; set with the hook.
  using Stopper = std::function<void(std::int32_t reason)>;
  void setStopper(Stopper stop) { stop_ = std::move(stop); }
  void stopvp(std::int32_t reason) {
    if (stop_) stop_(reason);
  }

  // A handler or routine without a result.
  template <class Work, class... Bindings>
  void run(std::string_view name, Work&& work, Bindings... b) {
    runNamed(name, name, std::forward<Work>(work), b...);
  }

  // The same, for the one handler whose closing call spells its name differently.
  template <class Work, class... Bindings>
  void runNamed(std::string_view openName, std::string_view closeName, Work&& work, Bindings... b) {
    (b.store(slots), ...);
    const bool overridden = FireExtensionEvent(openName, true, true, false);
    (b.load(slots), ...);
    if (!overridden) work();
    (b.store(slots), ...);
    FireExtensionEvent(closeName, false, false, true);
    (loadIfOut(b), ...);
  }

  // A routine with a result: work() computes it, the result slot carries it
  // through the closing event, and whatever the slot holds then is returned.
  template <class R, class Work, class... Bindings>
  R call(std::string_view name, R EventSlots::*result, Work&& work, Bindings... b) {
    (b.store(slots), ...);
    const bool overridden = FireExtensionEvent(name, true, true, false);
    (b.load(slots), ...);
    if (!overridden) {
      R value = work();
      slots.*result = std::move(value);
    }
    (b.store(slots), ...);
    FireExtensionEvent(name, false, false, true);
    (loadIfOut(b), ...);
    return slots.*result;
  }

 private:
  template <class B>
  void loadIfOut(const B& b) {
    if (b.out) b.load(slots);
  }
  Hook hook_;
  Stopper stop_;
};

}  // namespace trovik
