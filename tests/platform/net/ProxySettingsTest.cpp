#include "platform/net/ProxySettings.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

using Type = ProxyEntry::Type;
using Environment = std::map<std::string, std::string>;

std::string describe(const std::optional<std::vector<ProxyEntry>>& entries) {
  if (!entries) return "unavailable";
  std::string out;
  for (const ProxyEntry& entry : *entries) {
    if (!out.empty()) out += "; ";
    switch (entry.type) {
      case Type::None:
        out += "DIRECT";
        break;
      case Type::Http:
        out += "HTTP " + entry.host + ":" + std::to_string(entry.port);
        break;
      case Type::Https:
        out += "HTTPS " + entry.host + ":" + std::to_string(entry.port);
        break;
      case Type::Socks:
        out += "SOCKS " + entry.host + ":" + std::to_string(entry.port);
        break;
      case Type::AutoConfigurationUrl:
        out += "PAC " + entry.autoConfigurationUrl;
        break;
    }
  }
  return out;
}

struct EnvironmentCase {
  const char* name;
  Environment environment;
  std::string url;  // scheme://host:port
  std::string expected;
};

class ProxyEnvironmentTest : public testing::TestWithParam<EnvironmentCase> {};

TEST_P(ProxyEnvironmentTest, AnswersTheProxiesForTheUrl) {
  const EnvironmentCase& c = GetParam();
  std::size_t separator = c.url.find("://");
  std::size_t colon = c.url.rfind(':');
  std::string scheme = c.url.substr(0, separator);
  std::string host = c.url.substr(separator + 3, colon - separator - 3);
  int port = std::stoi(c.url.substr(colon + 1));
  EXPECT_EQ(describe(ProxySettings(c.environment).proxiesFor(scheme, host, port)), c.expected);
}

const Environment kCorporate = {
    {"http_proxy", "http://proxy.corp:3128/"},
    {"https_proxy", "proxy.corp:3129"},
    {"no_proxy", "intranet.corp, .lan,*.test, 10.0.0.0/8,[fd00::1], git.corp:8080"}};

INSTANTIATE_TEST_SUITE_P(
    Variables, ProxyEnvironmentTest,
    testing::Values(
        EnvironmentCase{"NothingSet", {}, "http://a.example:80", "DIRECT"},
        EnvironmentCase{"HttpProxy", kCorporate, "http://a.example:80", "HTTP proxy.corp:3128"},
        EnvironmentCase{"HttpsProxyForHttps", kCorporate, "https://a.example:443", "HTTPS proxy.corp:3129"},
        EnvironmentCase{"UpperCase", {{"HTTPS_PROXY", "p:1"}}, "https://a.example:443", "HTTPS p:1"},
        EnvironmentCase{
            "LowerCaseWins", {{"http_proxy", "low:1"}, {"HTTP_PROXY", "up:2"}}, "http://a:80", "HTTP low:1"},
        EnvironmentCase{"UpperHttpIgnoredUnderCgi",
                        {{"HTTP_PROXY", "evil:1"}, {"REQUEST_METHOD", "GET"}},
                        "http://a.example:80",
                        "DIRECT"},
        EnvironmentCase{"AllProxyFallback",
                        {{"all_proxy", "socks5://s.corp"}},
                        "https://a.example:443",
                        "SOCKS s.corp:1080"},
        EnvironmentCase{"DefaultPorts",
                        {{"http_proxy", "http://p"}, {"https_proxy", "https://q"}},
                        "http://a.example:80",
                        "HTTP p:80"},
        EnvironmentCase{
            "EmptyValueIsUnset", {{"http_proxy", "  "}, {"all_proxy", "p:1"}}, "http://a:80", "HTTP p:1"},
        EnvironmentCase{"NoProxyExactHost", kCorporate, "http://intranet.corp:80", "DIRECT"},
        EnvironmentCase{"NoProxySubdomain", kCorporate, "http://wiki.intranet.corp:80", "DIRECT"},
        EnvironmentCase{"NoProxyNotASuffixOfTheName", kCorporate, "http://myintranet.corp:80",
                        "HTTP proxy.corp:3128"},
        EnvironmentCase{"NoProxyLeadingDot", kCorporate, "http://nas.lan:80", "DIRECT"},
        EnvironmentCase{"NoProxyLeadingDotCoversDomain", kCorporate, "http://lan:80", "DIRECT"},
        EnvironmentCase{"NoProxyStarDot", kCorporate, "http://x.y.TEST.:80", "DIRECT"},
        EnvironmentCase{"NoProxyCidr", kCorporate, "http://10.1.2.3:80", "DIRECT"},
        EnvironmentCase{"NoProxyCidrOutside", kCorporate, "http://11.1.2.3:80", "HTTP proxy.corp:3128"},
        EnvironmentCase{"NoProxyIpv6", kCorporate, "http://fd00::1:80", "DIRECT"},
        EnvironmentCase{"NoProxyPortMatches", kCorporate, "http://git.corp:8080", "DIRECT"},
        EnvironmentCase{"NoProxyPortDiffers", kCorporate, "http://git.corp:80", "HTTP proxy.corp:3128"},
        EnvironmentCase{"NoProxyStar", {{"http_proxy", "p:1"}, {"NO_PROXY", "*"}}, "http://a:80", "DIRECT"},
        EnvironmentCase{"LoopbackAlwaysDirect", kCorporate, "http://127.0.0.1:8080", "DIRECT"},
        EnvironmentCase{"LocalhostAlwaysDirect", kCorporate, "http://LOCALHOST:8080", "DIRECT"},
        EnvironmentCase{"AutoConfiguration",
                        {{"MARLUNE_PAC_URL", "http://wpad.corp/proxy.pac"}, {"http_proxy", "p:1"}},
                        "http://a.example:80",
                        "PAC http://wpad.corp/proxy.pac"},
        EnvironmentCase{
            "UnreadableProxy", {{"http_proxy", "http://pro xy:3128"}}, "http://a:80", "unavailable"},
        EnvironmentCase{"BadPort", {{"http_proxy", "proxy:99999"}}, "http://a:80", "unavailable"},
        EnvironmentCase{
            "UnknownProxyScheme", {{"http_proxy", "ftp://proxy:21"}}, "http://a:80", "unavailable"},
        EnvironmentCase{
            "HeaderInjection", {{"http_proxy", "proxy\r\nX: y:80"}}, "http://a:80", "unavailable"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProxySettingsTest, TakesCredentialsFromTheProxyUrl) {
  ProxySettings settings(Environment{{"https_proxy", "http://corp%5Cann:p%40ss:w@[fd00::2]:8080/"}});
  auto entries = settings.proxiesFor("https", "a.example", 443);
  ASSERT_TRUE(entries);
  ASSERT_EQ(entries->size(), 1u);
  const ProxyEntry& entry = entries->front();
  EXPECT_EQ(entry.host, "fd00::2");
  EXPECT_EQ(entry.port, 8080);
  EXPECT_EQ(entry.user, "corp\\ann");
  EXPECT_EQ(entry.password, "p@ss:w");

  EXPECT_FALSE(ProxySettings(Environment{{"http_proxy", "http://a%zz:b@p:1"}}).proxiesFor("http", "x", 80));
}

TEST(ProxySettingsTest, CurrentSettingsCanBeReplacedAndRestored) {
  auto replacement = std::make_shared<const ProxySettings>(Environment{{"all_proxy", "p:9"}});
  ProxySettings::setCurrent(replacement);
  EXPECT_EQ(ProxySettings::current(), replacement);
  ProxySettings::setCurrent(nullptr);
  EXPECT_NE(ProxySettings::current(), replacement);
  EXPECT_TRUE(ProxySettings::current());
}

struct AddressCase {
  std::string text;
  std::optional<std::pair<std::string, int>> expected;
};

class ProxyAddressTest : public testing::TestWithParam<AddressCase> {};

TEST_P(ProxyAddressTest, SplitsHostAndPortOrRefuses) {
  auto entry = ProxyEntry::proxy(Type::Http, GetParam().text, 80);
  if (!GetParam().expected) {
    EXPECT_FALSE(entry) << entry->host;
    return;
  }
  ASSERT_TRUE(entry);
  EXPECT_EQ(std::make_pair(entry->host, entry->port), *GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, ProxyAddressTest,
    testing::Values(AddressCase{"proxy", std::make_pair("proxy", 80)},
                    AddressCase{"proxy_1.corp:3128", std::make_pair("proxy_1.corp", 3128)},
                    AddressCase{"[::1]:8080", std::make_pair("::1", 8080)},
                    AddressCase{"[::1]", std::make_pair("::1", 80)},
                    AddressCase{"fd00::1", std::make_pair("fd00::1", 80)}, AddressCase{"", std::nullopt},
                    AddressCase{":80", std::nullopt}, AddressCase{"p:", std::nullopt},
                    AddressCase{"p:0", std::nullopt}, AddressCase{"p:65536", std::nullopt},
                    AddressCase{"p:8o", std::nullopt}, AddressCase{"[::1", std::nullopt},
                    AddressCase{"[1.2.3.4]", std::nullopt}, AddressCase{"[::1]x", std::nullopt},
                    AddressCase{"a:b:c", std::nullopt}, AddressCase{"p/x:1", std::nullopt},
                    AddressCase{"p q", std::nullopt}));

}  // namespace
}  // namespace pf
