#include "dialogs/updatecheck.h"

#include <charconv>
#include <cstdint>

#include "config/inifile.h"
#include "config/options.h"
#include "net/webaddress.h"

namespace trovik {

namespace {

// System colour indexes of the proxy boxes: enabled, and disabled.
constexpr unsigned kWindowColor = 5;
constexpr unsigned kInactiveBorderColor = 11;

constexpr const char* kCaption = "Check for update";

// A whole number and nothing else: no spaces, no line end.
std::optional<std::int32_t> wholeNumber(const std::string& text) {
  std::int32_t value = 0;
  const char* first = text.data();
  const char* last = first + text.size();
  if (first != last && *first == '+') ++first;
  const auto [end, err] = std::from_chars(first, last, value);
  if (first == last || err != std::errc() || end != last) return std::nullopt;
  return value;
}

// Text from the site or the user, as a message shows it.
std::string quoted(const std::string& text) { return "\"" + shownText(text) + "\""; }

}  // namespace

UpdateCheck::UpdateCheck(Context& ctx, const WindowHandle& owner) : ctx_(ctx), owner_(owner) {
  intro.setCaption(
      "Use this page to check for updates of Trovik from the internet. If you use a proxy server "
      "to connect to the internet, tick the box and enter your details below, then click check "
      "for update.");
  version.setCaption("Current version: 1.0.0.0, using Trovik+2.3");
  proxyc.setCaption("Use proxy");
  prox.setCaption("Proxy settings");
  cud.setCaption("Check for &update");
  cud.setHint("Check internet for updates");
  proxycClick();
}

void UpdateCheck::proxycClick() {
  const bool on = proxyc.checked();
  for (ui::Edit* box : {&pname, &pport, &pun, &ppw}) {
    box->setEnabled(on);
    box->setColor(on ? kWindowColor : kInactiveBorderColor);
  }
}

void UpdateCheck::error(const std::string& text) {
  ctx_.platform.boxes.show(owner(), text, ctx_.texts.maint, Buttons::Ok, Icon::Error);
}

std::optional<std::string> UpdateCheck::fetch(const std::string& url, const HttpProxy& proxy) {
  HttpResponse answer;
  if (http) {
    answer = http->get({url, proxy, timeoutMs, kMaxFileBytes});
  } else {
    answer.error = ctx_.texts.f4noconnection;
  }
  if (answer.ok) return std::move(answer.body);
  error(ctx_.texts.f4fetchfailed + url + ": " + answer.error + ".");
  return std::nullopt;
}

void UpdateCheck::cudClick() {
  if (checking_) return;
  checking_ = true;
  cud.setEnabled(false);
  struct Finish {
    UpdateCheck& c;
    ~Finish() {
      c.checking_ = false;
      c.cud.setEnabled(true);
      c.cud.setCaption(kCaption);
    }
  } finish{*this};
  check();
}

void UpdateCheck::check() {
  Texts& t = ctx_.texts;
  Variables& v = ctx_.vars;
  if (ctx_.platform.boxes.show(owner(), t.f4iconnectconfirm, t.confirmt, Buttons::YesNo,
                               Icon::None) != Answer::Yes)
    return;

  // Written first, so that a check that fails still counts as one.
  {
    Clock& clock = ctx_.platform.clock;
    TBigIniFile ini(ctx_.fs(), optionsPath(v));
    writeText(ini, Option::UpdateChecked, clock.formatShortDate(clock.today()));
    ini.Free();
  }

  // The boxes as they stand, applied or not. The password lives only here,
  // for this check.
  HttpProxy proxy;
  if (proxyc.checked() && !pname.text().empty()) {
    if (!isProxyHost(pname.text())) {
      error(t.f4badproxy + quoted(pname.text()));
      return;
    }
    if (!pport.text().empty() && !isPort(pport.text())) {
      error(t.f4badport + quoted(pport.text()));
      return;
    }
    proxy.host = pname.text();
    if (!pport.text().empty()) proxy.port = pport.text();
    proxy.user = pun.text();
    proxy.password = ppw.text();
  }

  // The site may come from a hand-edited options file or an extension. Only
  // the site checked here (or the move checked below) is fetched from and
  // opened, whatever changes usite while the check waits.
  std::string site = v.usite;
  if (const std::string problem = siteAddressProblem(site); !problem.empty()) {
    error(t.f4badsite + quoted(site) + ". " + problem);
    return;
  }

  const std::string redirect = site + "redirect.txt";
  const std::optional<std::string> moved = fetch(redirect, proxy);
  if (!moved) return;
  if (*moved != "<none>") {
    if (const std::string problem = siteAddressProblem(*moved); !problem.empty()) {
      error(t.f4badmove1 + redirect + t.f4badmove2 + quoted(*moved) + ". " + problem + " " +
            t.f4sitekept);
      return;
    }
    TBigIniFile ini(ctx_.fs(), optionsPath(v));
    writeText(ini, Option::UpdateSite, *moved);
    ini.Free();
    site = v.usite = *moved;
  }

  const std::string versionFile = site + "lud.txt";
  const std::optional<std::string> latest = fetch(versionFile, proxy);
  if (!latest) return;
  const std::optional<std::int32_t> number = wholeNumber(*latest);
  if (!number) {
    error(t.f4badversion1 + versionFile + t.f4badversion2 + quoted(*latest) + ".");
    return;
  }

  cud.setCaption(kCaption);
  if (*number <= v.cvr) {
    ctx_.platform.boxes.show(owner(), t.f4versionuptodate, t.maint, Buttons::Ok, Icon::None);
    return;
  }
  if (ctx_.platform.boxes.show(owner(), t.f4visitsiteconfirm, t.confirmt, Buttons::YesNo,
                               Icon::None) != Answer::Yes)
    return;
  const std::string page = site + "linkupd.htm";
  const std::intptr_t code = ctx_.platform.shell.execute(v.masterhandle, page, "", "", swShow);
  if (code <= 32) error(t.f4openfailed + page + " (error " + std::to_string(code) + ").");
}

}  // namespace trovik
