#include "platform/net/PacScript.h"

#include <gtest/gtest.h>

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
      {"build.corp.example", "10.1.2.3"}, {"www.example.org", "93.184.216.34"}};
  return [](std::string_view host) -> std::optional<std::string> {
    auto found = kAddresses.find(host);
    if (found == kAddresses.end()) return std::nullopt;
    return found->second;
  };
}

const char kCorporateScript[] = R"js(
// Proxy rules of the head office.
function FindProxyForURL(url, host) {
  /* Local names and the intranet go directly. */
  if (isPlainHostName(host) || dnsDomainIs(host, ".corp.example"))
    return "DIRECT";
  else if (shExpMatch(host, "*.video.example") && !(host == "cdn.video.example")) {
    return 'PROXY video-proxy:8080; DIRECT';
  } else if (localHostOrDomainIs(host, "www.partner.example")) {
    return "SOCKS socks.corp:1080";
  }
  if (isInNet(dnsResolve(host), "93.184.216.0", "255.255.255.0") === true) return "PROXY fast:3128"
  if (host != "special.example") {
    return "PROXY proxy.corp:3128; PROXY backup.corp; DIRECT";
  }
  return "";
}
)js";

struct EvaluationCase {
  std::string url;
  std::string host;
  std::string expected;
  friend void PrintTo(const EvaluationCase& c, std::ostream* out) { *out << c.url; }
};

class PacEvaluationTest : public testing::TestWithParam<EvaluationCase> {};

TEST_P(PacEvaluationTest, FollowsTheScript) {
  ErrorPtr error;
  auto script = PacScript::compile(kCorporateScript, &error);
  ASSERT_TRUE(script) << error->localizedDescription();
  auto entries = script->proxiesFor(GetParam().url, GetParam().host, &error, fakeDns());
  ASSERT_TRUE(entries) << error->localizedDescription();
  EXPECT_EQ(describe(*entries), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Hosts, PacEvaluationTest,
    testing::Values(
        EvaluationCase{"http://wiki/", "wiki", "DIRECT"},
        EvaluationCase{"http://build.corp.example/", "BUILD.corp.example", "DIRECT"},
        EvaluationCase{"http://a.video.example/", "a.video.example", "HTTP video-proxy:8080; DIRECT"},
        EvaluationCase{"https://a.video.example/", "a.video.example", "HTTPS video-proxy:8080; DIRECT"},
        EvaluationCase{"http://cdn.video.example/", "cdn.video.example",
                       "HTTP proxy.corp:3128; HTTP backup.corp:80; DIRECT"},
        EvaluationCase{"http://www.partner.example/", "www.partner.example", "SOCKS socks.corp:1080"},
        EvaluationCase{"http://www.example.org/", "www.example.org", "HTTP fast:3128"},
        EvaluationCase{"http://93.184.216.7/", "93.184.216.7", "HTTP fast:3128"},
        EvaluationCase{"http://special.example/", "special.example", "DIRECT"}));

struct RefusedCase {
  const char* name;
  std::string script;
};

class PacRefusedTest : public testing::TestWithParam<RefusedCase> {};

TEST_P(PacRefusedTest, CannotEvaluate) {
  ErrorPtr error;
  EXPECT_EQ(PacScript::compile(GetParam().script, &error), nullptr);
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->domain(), PacScript::kErrorDomain);
  EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
}

std::string nested(int depth) {
  return "function FindProxyForURL(u, h) { return " + std::string(depth, '(') + "\"DIRECT\"" +
         std::string(depth, ')') + "; }";
}

INSTANTIATE_TEST_SUITE_P(
    Scripts, PacRefusedTest,
    testing::Values(
        RefusedCase{"Empty", ""},
        RefusedCase{"Variable", R"(function FindProxyForURL(url, host) { var p = "DIRECT"; return p; })"},
        RefusedCase{"Concatenation", R"(function FindProxyForURL(url, host) { return "PROXY " + host; })"},
        RefusedCase{
            "StringMethod",
            R"(function FindProxyForURL(url, host) { if (url.substring(0, 5) == "http:") return "DIRECT"; })"},
        RefusedCase{"Loop", R"(function FindProxyForURL(url, host) { while (true) {} })"},
        RefusedCase{"UnknownFunction",
                    R"(function FindProxyForURL(url, host) { if (myIpAddress() == "1") return "DIRECT"; })"},
        RefusedCase{"WrongArgumentCount",
                    R"(function FindProxyForURL(url, host) { if (dnsDomainIs(host)) return "DIRECT"; })"},
        RefusedCase{"UnknownName", R"(function FindProxyForURL(url, host) { if (proxy) return "DIRECT"; })"},
        RefusedCase{"HelperFunction",
                    "function helper() { return \"DIRECT\"; }\nfunction FindProxyForURL(url, host) { return "
                    "\"DIRECT\"; }"},
        RefusedCase{"OtherName", R"(function FindProxyForUrl(url, host) { return "DIRECT"; })"},
        RefusedCase{"Unclosed", R"(function FindProxyForURL(url, host) { return "DIRECT";)"},
        RefusedCase{"UnterminatedString", R"(function FindProxyForURL(url, host) { return "DIRECT; })"},
        RefusedCase{"UnterminatedComment", R"(function FindProxyForURL(url, host) { return "DIRECT"; } /*)"},
        RefusedCase{"HexEscape", R"(function FindProxyForURL(url, host) { return "\x44IRECT"; })"},
        RefusedCase{"DeepNesting", nested(PacScript::kMaxNesting + 1)},
        RefusedCase{"TooLong", std::string(PacScript::kMaxScriptLength + 1, ' ')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PacScriptTest, NestingUpToTheLimitIsFine) {
  EXPECT_TRUE(PacScript::compile(nested(PacScript::kMaxNesting / 2)));
  std::string blocks = "function FindProxyForURL(u, h) " + std::string(PacScript::kMaxNesting + 1, '{') +
                       "return \"DIRECT\";" + std::string(PacScript::kMaxNesting + 1, '}');
  EXPECT_FALSE(PacScript::compile(blocks));
}

// Long else-if chains and long || lists are how big sites write their rules; they are not nesting.
TEST(PacScriptTest, LongChainsAreFlat) {
  std::string source = "function FindProxyForURL(url, host) {\n";
  for (int i = 0; i < 500; ++i) {
    source += (i ? "else if (" : "if (") + std::string("host == \"h") + std::to_string(i) +
              ".example\") return \"PROXY p" + std::to_string(i) + ":1\";\n";
  }
  source += "else if (dnsDomainIs(host, \".a\")";
  for (int i = 0; i < 5000; ++i) source += " || dnsDomainIs(host, \".d" + std::to_string(i) + "\")";
  source += ") return \"DIRECT\";\nelse return \"SOCKS s:1\"; }";

  auto script = PacScript::compile(source);
  ASSERT_TRUE(script);
  EXPECT_EQ(describe(*script->proxiesFor("http://h499.example/", "h499.example", nullptr, fakeDns())),
            "HTTP p499:1");
  EXPECT_EQ(describe(*script->proxiesFor("http://x.d4999/", "x.d4999", nullptr, fakeDns())), "DIRECT");
  EXPECT_EQ(describe(*script->proxiesFor("http://x.other/", "x.other", nullptr, fakeDns())), "SOCKS s:1");
}

TEST(PacScriptTest, AScriptThatReturnsNoTextCannotBeEvaluated) {
  for (const char* source : {R"(function FindProxyForURL(url, host) { if (host == "a") return "DIRECT"; })",
                             R"(function FindProxyForURL(url, host) { return isPlainHostName(host); })"}) {
    auto script = PacScript::compile(source);
    ASSERT_TRUE(script) << source;
    ErrorPtr error;
    EXPECT_FALSE(script->proxiesFor("http://b.example/", "b.example", &error, fakeDns()));
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->code(), PacScript::kCannotEvaluate);
  }
}

TEST(PacScriptTest, HostilePatternMatchingIsCutShort) {
  std::string pattern = std::string(1000, '*') + std::string(5000, 'a') + "b";
  auto script = PacScript::compile("function FindProxyForURL(url, host) { if (shExpMatch(url, \"" + pattern +
                                   "\")) return \"DIRECT\"; return \"PROXY p:1\"; }");
  ASSERT_TRUE(script);
  ErrorPtr error;
  EXPECT_FALSE(script->proxiesFor("http://x/" + std::string(100000, 'a'), "x", &error, fakeDns()));
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
  auto entries = script->proxiesFor("http://x/", GetParam().host, nullptr, fakeDns());
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
