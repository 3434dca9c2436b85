#include "platform/net/PacScript.h"

#include <gtest/gtest.h>

#include <chrono>
#include <ctime>
#include <map>

namespace pf {
namespace {

using Type = ProxyEntry::Type;

std::string describe(const std::vector<ProxyEntry>& entries) {
  std::string out;
  for (const ProxyEntry& entry : entries) {
    if (!out.empty()) out += "; ";
    const char* names[] = {"DIRECT", "HTTP", "HTTPS", "SOCKS", "PAC"};
    out += names[int(entry.type)];
    if (entry.type != Type::None) out += " " + entry.host + ":" + std::to_string(entry.port);
  }
  return out;
}

// Names the tests may resolve; everything else does not resolve.
PacScript::Resolver fakeDns() {
  static const std::map<std::string, std::string, std::less<>> kAddresses = {
      {"build.corp.example", "10.1.2.3"},
      {"build.internal", "10.1.2.3"},
      {"www.example.org", "93.184.216.34"}};
  return [](std::string_view host) -> std::optional<std::string> {
    auto found = kAddresses.find(host);
    if (found == kAddresses.end()) return std::nullopt;
    return found->second;
  };
}

// Milliseconds since 1970 of a local date and time.
double localTime(int year, int month, int day, int hour, int minute) {
  std::tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_isdst = -1;
  return static_cast<double>(std::mktime(&fields)) * 1000.0;
}

const double kWednesdayMorning = localTime(2026, 12, 9, 10, 30);
const double kWednesdayEvening = localTime(2026, 12, 9, 20, 0);
const double kSaturdayMorning = localTime(2026, 12, 12, 10, 30);

PacScript::Host machine(std::string ownAddress = "10.1.9.9", double now = kWednesdayMorning) {
  return {fakeDns(), [ownAddress] { return ownAddress; }, [now] { return now; }};
}

// Written the way the proxy scripts of large offices are: tables in variables, helper functions of
// their own, loops, string methods, the machine's own address and office hours.
const char kCorporateScript[] = R"js(
// Proxy rules of the head office.
var proxies = {
  office: "PROXY proxy.corp.example:3128; PROXY backup.corp.example:3128; DIRECT",
  afterHours: "PROXY night.corp.example:8080",
  video: "SOCKS5 socks.corp.example:1080"
};
var directDomains = [".corp.example", ".intranet.example"];
var officeNetworks = [["10.1.0.0", "255.255.0.0"], ["192.168.50.0", "255.255.255.0"]];
var ownAddress = myIpAddress();

function inDirectDomain(host) {
  for (var i = 0; i < directDomains.length; i++) {
    if (dnsDomainIs(host, directDomains[i])) return true;
  }
  return false;
}

function inOffice() {
  for (var i = 0; i < officeNetworks.length; i++) {
    if (isInNet(ownAddress, officeNetworks[i][0], officeNetworks[i][1])) return true;
  }
  return false;
}

function FindProxyForURL(url, host) {
  var scheme = url.substring(0, url.indexOf(":")).toLowerCase();
  if (isPlainHostName(host) || inDirectDomain(host) || scheme === "ftp") return "DIRECT";
  if (shExpMatch(host, "*.video.example") || url.indexOf("/live/") >= 0) return proxies.video;
  /* Internal servers without an internal name. */
  if (isInNet(host, "10.0.0.0", "255.0.0.0")) return "DIRECT";
  if (!inOffice()) return "DIRECT";
  if (weekdayRange("SAT", "SUN") || !timeRange(8, 18)) return proxies.afterHours;
  return proxies.office;
}
)js";

struct EvaluationCase {
  std::string url;
  std::string host;
  std::string ownAddress;
  double now;
  std::string expected;
  friend void PrintTo(const EvaluationCase& c, std::ostream* out) {
    *out << c.url << " from " << c.ownAddress;
  }
};

class PacEvaluationTest : public testing::TestWithParam<EvaluationCase> {};

TEST_P(PacEvaluationTest, FollowsTheScript) {
  const EvaluationCase& c = GetParam();
  const PacScript::Host host = machine(c.ownAddress, c.now);
  ErrorPtr error;
  auto script = PacScript::compile(kCorporateScript, &error, {}, host);
  ASSERT_TRUE(script) << error->localizedDescription();
  auto entries = script->proxiesFor(c.url, c.host, &error, host);
  ASSERT_TRUE(entries) << error->localizedDescription();
  EXPECT_EQ(describe(*entries), c.expected);
}

const char kOffice[] = "HTTP proxy.corp.example:3128; HTTP backup.corp.example:3128; DIRECT";

INSTANTIATE_TEST_SUITE_P(
    Hosts, PacEvaluationTest,
    testing::Values(
        EvaluationCase{"http://wiki/", "wiki", "10.1.9.9", kWednesdayMorning, "DIRECT"},
        EvaluationCase{"http://build.corp.example/", "BUILD.corp.example", "10.1.9.9", kWednesdayMorning,
                       "DIRECT"},
        EvaluationCase{"FTP://files.example.org/", "files.example.org", "10.1.9.9", kWednesdayMorning,
                       "DIRECT"},
        EvaluationCase{"http://a.video.example/", "a.video.example", "10.1.9.9", kWednesdayMorning,
                       "SOCKS socks.corp.example:1080"},
        EvaluationCase{"http://www.example.org/live/1", "www.example.org", "10.1.9.9", kWednesdayMorning,
                       "SOCKS socks.corp.example:1080"},
        EvaluationCase{"http://build.internal/", "build.internal", "10.1.9.9", kWednesdayMorning, "DIRECT"},
        EvaluationCase{"http://www.example.org/", "www.example.org", "10.1.9.9", kWednesdayMorning, kOffice},
        EvaluationCase{"https://www.example.org/", "www.example.org", "192.168.50.7", kWednesdayMorning,
                       "HTTPS proxy.corp.example:3128; HTTPS backup.corp.example:3128; DIRECT"},
        EvaluationCase{"http://www.example.org/", "www.example.org", "10.1.9.9", kSaturdayMorning,
                       "HTTP night.corp.example:8080"},
        EvaluationCase{"http://www.example.org/", "www.example.org", "10.1.9.9", kWednesdayEvening,
                       "HTTP night.corp.example:8080"},
        EvaluationCase{"http://www.example.org/", "www.example.org", "172.16.0.5", kWednesdayMorning,
                       "DIRECT"}));

struct RefusedCase {
  const char* name;
  std::string script;
  const char* reason;
};

class PacRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(PacRefusedTest, CannotEvaluate) {
  ErrorPtr error;
  EXPECT_EQ(PacScript::compile(GetParam().script, &error, {std::chrono::milliseconds(200)}, machine()),
            nullptr);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->domain(), PacScript::kErrorDomain);
  EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
  EXPECT_NE(error->localizedDescription().find(GetParam().reason), std::string::npos)
      << error->localizedDescription();
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, PacRefusedTest,
    testing::Values(
        RefusedCase{"Empty", "", "defines no function FindProxyForURL"},
        RefusedCase{"OtherName", R"(function FindProxyForUrl(url, host) { return "DIRECT"; })",
                    "defines no function FindProxyForURL"},
        RefusedCase{"NotAFunction", R"(var FindProxyForURL = "DIRECT";)",
                    "defines no function FindProxyForURL"},
        RefusedCase{"Unclosed", R"(function FindProxyForURL(url, host) { return "DIRECT";)", "SyntaxError"},
        RefusedCase{"UnterminatedString", R"(function FindProxyForURL(url, host) { return "DIRECT; })",
                    "SyntaxError"},
        RefusedCase{"UnterminatedComment", R"(function FindProxyForURL(url, host) { return "DIRECT"; } /*)",
                    "SyntaxError"},
        RefusedCase{"ThrowsWhileLoading", "throw new Error('no rules today');", "no rules today"},
        RefusedCase{"LoopsWhileLoading", "var n = 1; while (n) {}", "ran longer than 200 ms"},
        RefusedCase{"TooLong", std::string(PacScript::kMaxScriptLength + 1, ' '), "longer than"}),
    [](const auto& info) { return std::string(info.param.name); });

// What the old evaluator could not run: each is plain JavaScript and evaluates.
TEST(PacScriptTest, EvaluatesOrdinaryJavaScript) {
  const struct {
    const char* name;
    std::string body;
    const char* expected;
  } cases[] = {
      {"variable", R"(var p = "DIRECT"; return p;)", "DIRECT"},
      {"concatenation", R"(return "PROXY " + host + ":8080";)", "HTTP b.example:8080"},
      {"string method", R"(if (url.substring(0, 5) == "http:") return "SOCKS s:1"; return "DIRECT";)",
       "SOCKS s:1"},
      {"loop", R"(var n = 0; for (var i = 0; i < 1000; i++) n += i; return n == 499500 ? "DIRECT" : "";)",
       "DIRECT"},
      {"regular expression", R"(return /^b\./.test(host) ? "PROXY r:1" : "DIRECT";)", "HTTP r:1"},
      {"hex escape", R"(return "\x44IRECT";)", "DIRECT"},
      {"deep nesting", "return " + std::string(200, '(') + "\"DIRECT\"" + std::string(200, ')') + ";",
       "DIRECT"},
      {"caught exception", R"(try { null.x; } catch (e) { return "PROXY caught:1"; })", "HTTP caught:1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ErrorPtr error;
    auto script = PacScript::compile("function FindProxyForURL(url, host) {" + c.body + "}", &error);
    ASSERT_TRUE(script) << error->localizedDescription();
    auto entries = script->proxiesFor("http://b.example/", "b.example", &error, machine());
    ASSERT_TRUE(entries) << error->localizedDescription();
    EXPECT_EQ(describe(*entries), c.expected);
  }
}

// Long else-if chains and long || lists are how big sites write their rules.
TEST(PacScriptTest, LongChainsEvaluate) {
  std::string source = "function FindProxyForURL(url, host) {\n";
  for (int i = 0; i < 500; ++i) {
    source += (i ? "else if (" : "if (") + std::string("host == \"h") + std::to_string(i) +
              ".example\") return \"PROXY p" + std::to_string(i) + ":1\";\n";
  }
  source += "else if (dnsDomainIs(host, \".a\")";
  for (int i = 0; i < 1000; ++i) source += " || dnsDomainIs(host, \".d" + std::to_string(i) + "\")";
  source += ") return \"DIRECT\";\nelse return \"SOCKS s:1\"; }";

  auto script = PacScript::compile(source);
  ASSERT_TRUE(script);
  EXPECT_EQ(describe(*script->proxiesFor("http://h499.example/", "h499.example", nullptr, machine())),
            "HTTP p499:1");
  EXPECT_EQ(describe(*script->proxiesFor("http://x.d999/", "x.d999", nullptr, machine())), "DIRECT");
  EXPECT_EQ(describe(*script->proxiesFor("http://x.other/", "x.other", nullptr, machine())), "SOCKS s:1");
}

// Scripts that load but fail when asked: each ends with an error, within its limits.
TEST(PacScriptTest, FailuresWhileEvaluatingAreErrors) {
  using std::chrono::milliseconds;
  const ScriptHeap::Limits usual{milliseconds(300), 16u << 20};
  // Memory runs out long before the time does.
  const ScriptHeap::Limits littleMemory{milliseconds(20000), 2u << 20};
  const struct {
    const char* name;
    std::string body;
    ScriptHeap::Limits limits;
    const char* reason;
  } cases[] = {
      {"no text", R"(if (host == "a") return "DIRECT";)", usual, "answered no text"},
      {"a boolean", "return isPlainHostName(host);", usual, "answered no text"},
      {"throws", R"(throw new Error("rules are being updated");)", usual, "rules are being updated"},
      {"unknown name", R"(if (proxy) return "DIRECT";)", usual, "ReferenceError"},
      {"loops forever", "while (true) {}", usual, "ran longer than 300 ms"},
      {"loops forever, catching", "for (;;) { try { while (true) {} } catch (e) {} }", usual,
       "ran longer than 300 ms"},
      {"recurses forever", "function f(n) { return f(n + 1) + 1; } return f(0);", usual, "RangeError"},
      {"allocates without end", "var a = []; for (;;) a.push(new Array(10000).join('x') + a.length);",
       littleMemory, "more than 2097152 bytes"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    auto script =
        PacScript::compile("function FindProxyForURL(url, host) {" + c.body + "}", nullptr, c.limits);
    ASSERT_TRUE(script);
    const auto started = std::chrono::steady_clock::now();
    ErrorPtr error;
    EXPECT_FALSE(script->proxiesFor("http://b.example/", "b.example", &error, machine()));
    EXPECT_LT(std::chrono::steady_clock::now() - started, c.limits.time + std::chrono::seconds(2));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
    EXPECT_NE(error->localizedDescription().find(c.reason), std::string::npos)
        << error->localizedDescription();
  }
}

// Work the engine does outside its instruction count: a regular expression that backtracks without end
// and a built-in sort of a large array. Either limit may end them; they end soon after the time limit.
TEST(PacScriptTest, LongBuiltInWorkEndsNearTheTimeLimit) {
  const ScriptHeap::Limits limits{std::chrono::milliseconds(300), 16u << 20};
  for (const char* body :
       {"return /(a+)+b/.test('aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa') ? 'DIRECT' : 'PROXY "
        "p:1';",
        "var a = []; for (var i = 0; i < 300000; i++) a.push(Math.random()); a.sort(); return 'DIRECT';"}) {
    SCOPED_TRACE(body);
    auto script = PacScript::compile(std::string("function FindProxyForURL(url, host) {") + body + "}",
                                     nullptr, limits);
    ASSERT_TRUE(script);
    const auto started = std::chrono::steady_clock::now();
    ErrorPtr error;
    EXPECT_FALSE(script->proxiesFor("http://b.example/", "b.example", &error, machine()));
    EXPECT_LT(std::chrono::steady_clock::now() - started, limits.time + std::chrono::seconds(2));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
  }
}

TEST(PacScriptTest, EveryEvaluationStartsFromTheScript) {
  auto script = PacScript::compile(
      R"(var calls = 0; function FindProxyForURL(url, host) { calls++; return "PROXY p:" + calls; })");
  ASSERT_TRUE(script);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(describe(*script->proxiesFor("http://b.example/", "b.example", nullptr, machine())),
              "HTTP p:1");
  }
}

TEST(PacScriptTest, HostilePatternMatchingIsCutShort) {
  std::string pattern = std::string(1000, '*') + std::string(5000, 'a') + "b";
  auto script = PacScript::compile("function FindProxyForURL(url, host) { if (shExpMatch(url, \"" + pattern +
                                   "\")) return \"DIRECT\"; return \"PROXY p:1\"; }");
  ASSERT_TRUE(script);
  ErrorPtr error;
  EXPECT_FALSE(script->proxiesFor("http://x/" + std::string(100000, 'a'), "x", &error, machine()));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
}

struct ShellCase {
  std::string host;
  std::string pattern;
  bool matches;
};

class ShellExpressionTest : public testing::TestWithParam<ShellCase> {};

TEST_P(ShellExpressionTest, MatchesStarsAndQuestionMarks) {
  auto script = PacScript::compile("function FindProxyForURL(url, host) { if (shExpMatch(host, \"" +
                                   GetParam().pattern + "\")) return \"DIRECT\"; return \"PROXY p:1\"; }");
  ASSERT_TRUE(script);
  auto entries = script->proxiesFor("http://x/", GetParam().host, nullptr, machine());
  ASSERT_TRUE(entries);
  EXPECT_EQ(entries->front().type == Type::None, GetParam().matches) << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(Patterns, ShellExpressionTest,
                         testing::Values(ShellCase{"a.example.com", "*.example.com", true},
                                         ShellCase{"example.com", "*.example.com", false},
                                         ShellCase{"host1.lan", "host?.lan", true},
                                         ShellCase{"host12.lan", "host?.lan", false},
                                         ShellCase{"abc", "*", true}, ShellCase{"", "*", true},
                                         ShellCase{"aXbXc", "a*b*c", true},
                                         ShellCase{"aXbXd", "a*b*c", false},
                                         ShellCase{std::string(200, 'a'), "*a*a*a*a*b", false}));

struct ResultCase {
  std::string result;
  bool forHttps;
  std::string expected;
};

class PacResultTest : public testing::TestWithParam<ResultCase> {};

TEST_P(PacResultTest, ParsesTheEntryList) {
  EXPECT_EQ(describe(PacScript::parseResult(GetParam().result, GetParam().forHttps)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Results, PacResultTest,
    testing::Values(ResultCase{"DIRECT", false, "DIRECT"}, ResultCase{"", false, "DIRECT"},
                    ResultCase{"  ", false, "DIRECT"},
                    ResultCase{"PROXY a:1; SOCKS b:2;DIRECT", false, "HTTP a:1; SOCKS b:2; DIRECT"},
                    ResultCase{"proxy a:1", true, "HTTPS a:1"},
                    ResultCase{"PROXY a; SOCKS5 b; SOCKS4 c:9", false, "HTTP a:80; SOCKS b:1080; SOCKS c:9"},
                    ResultCase{"PROXY [::1]:3128", false, "HTTP ::1:3128"},
                    ResultCase{"HTTPS secure:443; PROXY a:1", false, "HTTP a:1"},
                    ResultCase{"PROXY a:99999; BOGUS x:1; PROXY; DIRECT x; PROXY b:2", false, "HTTP b:2"},
                    ResultCase{"PROXY a:1\r\nX: y", false, ""}));

}  // namespace
}  // namespace pf
