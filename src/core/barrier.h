#pragma once
// The one place where a failure stops: at the edge of a window procedure, of a
// handler run for the user, and of a function an extension calls. Nothing may
// unwind through the system's frames or an extension's code, so the failure is
// told to the user there: a file that could not be read or written with the
// file and the system's reason, anything else as an unexpected error.
#include <exception>

#include "core/context.h"

namespace trovik {

// Tells the user about a failure that was caught.
void reportFailure(Context& ctx, std::exception_ptr failure) noexcept;

// Runs work; a failure is reported and stops here. False when work did not finish.
template <class Work>
bool barrier(Context& ctx, Work&& work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    reportFailure(ctx, std::current_exception());
    return false;
  }
}

// Runs work for the input of a window: what it asks, and the failure that
// stops it, are told in boxes owned by that window.
template <class Work>
bool barrier(Context& ctx, WindowHandle window, Work&& work) noexcept {
  const AskingWindow asking(ctx, window);
  return barrier(ctx, work);
}

}  // namespace trovik
