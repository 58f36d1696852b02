#pragma once
// The "Updates" page of the options dialog: the proxy settings and the check
// whether the update site offers a newer release than this one.
#include <optional>
#include <string>

#include "core/context.h"
#include "net/http.h"
#include "ui/controls.h"

namespace trovik {

class UpdateCheck {
 public:
  // owner: the options dialog's window (0 while it has none), which owns the
  // check's questions and messages.
  UpdateCheck(Context& ctx, const WindowHandle& owner);

  // The page's two texts (the form gives them no names).
  ui::Label intro{"updateintro"};
  ui::Label version{"updateversion"};
  ui::CheckBox proxyc{"proxyc"};
  ui::Panel prox{"prox"};  // the group "Proxy settings"
  ui::Edit pname{"pname"};
  ui::Edit pport{"pport"};
  ui::Edit pun{"pun"};
  ui::Edit ppw{"ppw"};  // shown as "*"s, and never stored
  ui::Button cud{"cud"};

  // The way onto the web. Until one is given, every check ends in an error.
  HttpClient* http = nullptr;
  // How long one request may take before the check gives up on it.
  int timeoutMs = 30000;
  // Longest file the update site may send; its files hold a few characters.
  static constexpr std::size_t kMaxFileBytes = 4096;

  // Asks, then reads the update site: a site move in "redirect.txt", the
  // latest version number in "lud.txt", and offers to open "linkupd.htm".
  // A click while a check runs (the window keeps handling messages while it
  // waits) is ignored.
  void cudClick();
  // The proxy boxes follow the "Use proxy" box.
  void proxycClick();
  bool checking() const { return checking_; }

 private:
  void check();
  // The document's text, or nothing after the failure has been shown.
  std::optional<std::string> fetch(const std::string& url, const HttpProxy& proxy);
  void error(const std::string& text);
  WindowHandle owner() const { return owner_ ? owner_ : ctx_.mainWindow; }

  Context& ctx_;
  const WindowHandle& owner_;
  bool checking_ = false;
};

}  // namespace trovik
