// The update check of the options dialog's "Updates" page on a fake web, and
// the web addresses it accepts.
#include "fakehttp.h"
#include "harness.h"
#include "net/webaddress.h"

namespace trovik::test {
namespace {

TEST(WebAddress, OnlyHttpAndHttpsAddressesAreTakenApartAndASiteEndsInASlash) {
  const struct {
    const char *text, *host, *path;
    bool https;
    int port;
  } good[] = {{"HTTPS://Example.COM:8443/a/b/lud.txt", "Example.COM", "/a/b/lud.txt", true, 8443},
              {"http://127.0.0.1", "127.0.0.1", "/", false, 80},
              {"http://[::1]:81/x", "[::1]", "/x", false, 81},
              {"https://h", "h", "/", true, 443}};
  for (const auto& g : good) {
    const auto a = parseWebAddress(g.text);
    ASSERT_TRUE(a) << g.text;
    EXPECT_EQ(std::tie(a->https, a->host, a->port, a->path),
              std::tie(g.https, g.host, g.port, g.path))
        << g.text;
  }
  for (const char* bad :
       {"", "ftp://h/", "file:///C:/", "http:\\\\h\\", "http:///", "http://h:0/", "http://h:65536/",
        "http://h:/", "http://u:pw@h/", "http://h..x/", "http://h x/", "http://h/a b",
        "http://h/a\\b", "http://h/\r\n", "//h/", "h/", "http://[12]/", "http://[::g]/"})
    EXPECT_FALSE(parseWebAddress(bad)) << bad;

  const std::string longSite = "http://h/" + std::string(245, 'a') + "/";  // 255 characters
  for (const std::string& site :
       {std::string("http://trovik.example/update/"), std::string("https://h:8443/a/b/"), longSite})
    EXPECT_EQ(siteAddressProblem(site), "") << site;
  const std::pair<std::string, const char*> problems[] = {
      {longSite + "a/", "The address is longer than 255 characters."},
      {"http://h/\r\n", "The address holds a line end or another control character."},
      {"", "The address is empty."},
      {"\\\\server\\share\\", "It is not an http:// or https:// web address."},
      {"http://h/?q=/", "It holds a query or a fragment (\"?\" or \"#\")."},
      {"http://h/x", "It does not end in \"/\"."}};
  for (const auto& [site, problem] : problems) EXPECT_EQ(siteAddressProblem(site), problem) << site;
  for (const char* bad : {"<none>", "\thttp://h/", "file:///C:/windows/", "C:\\windows\\",
                          "javascript:alert(1)//", "mailto:a@b/", "http://h/#/", " http://h/"})
    EXPECT_NE(siteAddressProblem(bad), "") << bad;

  for (const char* host : {"proxy.example", "10.0.0.1"}) EXPECT_TRUE(isProxyHost(host)) << host;
  for (const char* host : {"a;b", "http=h", "", ".h", "h."}) EXPECT_FALSE(isProxyHost(host));
  for (const char* port : {"1", "8080", "65535"}) EXPECT_TRUE(isPort(port)) << port;
  for (const char* port : {"0", "65536", "80 ", "999999"}) EXPECT_FALSE(isPort(port)) << port;
  EXPECT_EQ(shownText("<none>\r\n\x01"), "<none>\\r\\n\\x01");
  EXPECT_EQ(shownText("abcdef", 3), "abc...");
}

constexpr const char* kSite = "http://site.test/u/";
constexpr WindowHandle kDialog = 77;
const char* const kToday = "06/12/2026";

struct UpdateCheckTest : ::testing::Test, AppHarness {
  FakeHttp http;
  UpdateCheck& page = app.OptionsForm.updates;

  UpdateCheckTest() {
    page.http = &http;
    app.OptionsForm.handle = kDialog;
    vars().usite = kSite;
    vars().masterhandle = 5;
    options("[Form]\r\nUpdateChecked=01/01/2020\r\n[Options]\r\nProxy=0\r\n");
  }
  // A check the user answers (Yes: agrees to), and the boxes it is expected to show next. The
  // requests it made are the only ones kept.
  void check(std::initializer_list<std::pair<Answer, const char*>> then = {},
             Answer first = Answer::Yes) {
    http.requests.clear();
    boxes().expect(first, "This will connect to the internet");
    for (const auto& [answer, text] : then) boxes().expect(answer, text);
    app.guarded([&] { page.cudClick(); });
    EXPECT_TRUE(boxes().allAnswered());
  }
  void site(const std::string& base, const std::string& redirect, const std::string& version) {
    http.serve(base + "redirect.txt", redirect);
    http.serve(base + "lud.txt", version);
  }
};

// No to the question does nothing; a whole number alone is compared; a newer version opens the
// page of the site checked. Messages run while a request waits: a click there starts no second
// check, and a site an extension sets meanwhile is not followed.
TEST_F(UpdateCheckTest, TheVersionFileDecidesAndANewerVersionOpensThePageOfTheSiteChecked) {
  const std::string before = fs().get(at("Trovik.ini"));
  check({}, Answer::No);
  EXPECT_TRUE(http.requests.empty());
  EXPECT_EQ(fs().get(at("Trovik.ini")), before);
  EXPECT_EQ(boxes().shown()[0].owner, kDialog);
  EXPECT_EQ(boxes().shown()[0].buttons, Buttons::YesNo);

  for (const char* bad : {"1001\r\n", " 1001", "1001 ", "abc", "", "99999999999", "10.5"}) {
    SCOPED_TRACE(bad);
    site(kSite, "<none>", bad);
    check({{Answer::Ok, "does not hold a whole number"}});
  }
  site(kSite, "<none>", "+1001");
  check({{Answer::No, "An update is available. Do you wish to visit the update site now?"}});
  for (const char* notNewer : {"1000", "-5"}) {
    site(kSite, "<none>", notNewer);
    check({{Answer::Ok, "Your version of Trovik is currently up to date"}});
  }
  EXPECT_TRUE(os.shell.calls.empty());
  EXPECT_EQ(http.requests[0].timeoutMs, 30000);
  EXPECT_EQ(http.requests[0].maxBytes, 4096u);

  site(kSite, "<none>", "1001");
  bool enabledMeanwhile = false;
  http.whileWaiting = [&] {
    enabledMeanwhile = enabledMeanwhile || page.cud.enabled();
    page.cudClick();
    vars().usite = "C:\\windows\\";
  };
  check({{Answer::Yes, "An update is available."}});
  EXPECT_EQ(http.urls(), (Lines{"http://site.test/u/redirect.txt", "http://site.test/u/lud.txt"}));
  ASSERT_EQ(os.shell.calls.size(), 1u);
  const ShellCall& call = os.shell.calls[0];
  EXPECT_EQ(std::tie(call.file, call.owner, call.show),
            std::make_tuple("http://site.test/u/linkupd.htm", WindowHandle{5}, 5));
  EXPECT_FALSE(enabledMeanwhile);
  EXPECT_TRUE(page.cud.enabled());
  EXPECT_FALSE(page.checking());

  // A shell that cannot open the page says so.
  http.whileWaiting = nullptr;
  vars().usite = kSite;
  os.shell.result = 2;
  check({{Answer::Yes, "An update is available."},
         {Answer::Ok, "Could not open the update page http://site.test/u/linkupd.htm (error 2)."}});
}

TEST_F(UpdateCheckTest, ASiteMoveIsUsedAtOnceAndAMoveToAnythingButAWebSiteIsRefused) {
  for (const char* target : {"file:///C:/windows/", "C:\\windows\\notepad.exe", "notepad.exe",
                             "javascript:alert(1)//", "", "<none>\r\n", "http://new.test/x"}) {
    SCOPED_TRACE(target);
    site(kSite, target, "1001");
    check({{Answer::Ok, "names a new address that cannot be used"}});
    EXPECT_EQ(http.urls(), Lines{"http://site.test/u/redirect.txt"});
  }
  EXPECT_NE(boxes().shown().back().text.find("\"http://new.test/x\". It does not end in \"/\"."),
            std::string::npos);
  EXPECT_EQ(option("Form", "UpdateSite"), "<absent>");
  EXPECT_EQ(option("Form", "UpdateChecked"), kToday);
  EXPECT_TRUE(os.shell.calls.empty());

  site(kSite, "https://new.test:8443/v2/", "1000");
  site("https://new.test:8443/v2/", "<none>", "1002");
  check({{Answer::Yes, "An update is available."}});
  EXPECT_EQ(http.urls(),
            (Lines{"http://site.test/u/redirect.txt", "https://new.test:8443/v2/lud.txt"}));
  EXPECT_EQ(option("Form", "UpdateSite"), "https://new.test:8443/v2/");
  EXPECT_EQ(vars().usite, "https://new.test:8443/v2/");
  EXPECT_EQ(os.shell.calls.at(0).file, "https://new.test:8443/v2/linkupd.htm");

  // A site that is no web address is not fetched at all.
  vars().usite = "file:///C:/windows/";
  check({{Answer::Ok,
          "The update site address cannot be used: \"file:///C:/windows/\". It is not an http"}});
  EXPECT_TRUE(http.requests.empty());
}

TEST_F(UpdateCheckTest, FailuresAreShownWithTheAddressOrFileAndTheReason) {
  // A check date that cannot be written stops the check.
  fs().failWrites("Trovik.ini");
  check({{Answer::Ok, "Trovik.ini"}});
  EXPECT_TRUE(http.requests.empty());
  EXPECT_TRUE(page.cud.enabled());
  EXPECT_FALSE(page.checking());
  fs().clearFailures();

  check({{Answer::Ok, "Could not fetch http://site.test/u/redirect.txt: the server answered 404"}});
  EXPECT_EQ(option("Form", "UpdateChecked"), kToday);

  // A move that completed stays, even when the version cannot be read.
  http.serve(std::string(kSite) + "redirect.txt", "http://new.test/");
  http.fail("http://new.test/lud.txt", 0, "the server did not answer within 30 seconds");
  check({{Answer::Ok,
          "Could not fetch http://new.test/lud.txt: the server did not answer within 30 "
          "seconds."}});
  EXPECT_EQ(option("Form", "UpdateSite"), "http://new.test/");

  page.http = nullptr;
  check({{Answer::Ok, "no connection to the internet is available"}});
  EXPECT_TRUE(os.shell.calls.empty());
}

TEST_F(UpdateCheckTest, TheProxyBoxesAreUsedAsTypedAndThePasswordIsKeptNowhere) {
  page.proxyc.setChecked(true);
  page.proxycClick();
  EXPECT_TRUE(page.ppw.enabled());
  page.pname.setText("proxy.test");
  page.pun.setText("me");
  page.ppw.setText("s3cret-word");
  site(kSite, "<none>", "1000");
  check({{Answer::Ok, "up to date"}});
  ASSERT_EQ(http.requests.size(), 2u);
  const HttpProxy& p = http.requests[1].proxy;
  EXPECT_EQ(std::tie(p.host, p.port, p.user, p.password),
            std::make_tuple("proxy.test", "80", "me", "s3cret-word"));
  EXPECT_EQ(option("Options", "Proxy"), "0");  // not applied: the options stay as they were
  EXPECT_EQ(fs().get(at("Trovik.ini")).find("s3cret"), std::string::npos);

  page.pport.setText("8o80");
  check({{Answer::Ok, "The proxy port is not a number from 1 to 65535: \"8o80\""}});
  EXPECT_TRUE(http.requests.empty());
  page.pport.setText("3128");
  page.pname.setText("http=evil;proxy");
  check({{Answer::Ok, "is not a host name or address"}});
  EXPECT_TRUE(http.requests.empty());
  for (const auto& shown : boxes().shown()) EXPECT_EQ(shown.text.find("s3cret"), std::string::npos);

  page.proxyc.setChecked(false);
  page.proxycClick();
  EXPECT_FALSE(page.pname.enabled());
  check({{Answer::Ok, "up to date"}});
  EXPECT_EQ(http.requests.back().proxy.host, "");
}

}  // namespace
}  // namespace trovik::test
