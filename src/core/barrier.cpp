#include "core/barrier.h"

#include <string>

namespace trovik {

void reportFailure(Context& ctx, std::exception_ptr failure) noexcept {
  try {
    try {
      std::rethrow_exception(failure);
    } catch (const IoError& e) {
      ctx.reportIoError(e);
    } catch (const std::exception& e) {
      ctx.message(ctx.texts.unexpected + ": " + e.what(), ctx.texts.maint, Buttons::Ok,
                  Icon::Error);
    } catch (...) {
      ctx.message(ctx.texts.unexpected, ctx.texts.maint, Buttons::Ok, Icon::Error);
    }
  } catch (...) {
    // Not even the message could be shown (out of memory): nothing more can be done.
  }
}

}  // namespace trovik
