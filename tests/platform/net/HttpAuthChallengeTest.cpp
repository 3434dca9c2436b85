#include "platform/net/HttpAuthChallenge.h"

#include <gtest/gtest.h>

namespace pf {
namespace {

// Each challenge written as scheme, then "token68" or name=value pairs joined by "|".
std::vector<std::string> describe(const std::vector<HttpAuthChallenge>& challenges,
                                  const std::vector<std::string>& names) {
  std::vector<std::string> out;
  for (const auto& challenge : challenges) {
    std::string line = challenge.scheme();
    if (challenge.token68()) line += " token68=" + *challenge.token68();
    for (const auto& name : names) {
      if (auto value = challenge.parameter(name)) line += " " + name + "=" + *value + "|";
    }
    out.push_back(line);
  }
  return out;
}

struct ParseCase {
  const char* name;
  std::string field;
  std::vector<std::string> expected;  // empty with refused = true: nullopt
  bool refused = false;
};

class ChallengeParseTest : public testing::TestWithParam<ParseCase> {};

TEST_P(ChallengeParseTest, ReadsOrRefusesTheField) {
  const ParseCase& c = GetParam();
  auto parsed = HttpAuthChallenge::parseField(c.field);
  if (c.refused) {
    EXPECT_FALSE(parsed.has_value());
    return;
  }
  ASSERT_TRUE(parsed.has_value());
  EXPECT_EQ(describe(*parsed, {"realm", "nonce", "title", "type", "qop"}), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, ChallengeParseTest,
    testing::Values(
        ParseCase{"Basic", R"(Basic realm="simple")", {"Basic realm=simple|"}},
        ParseCase{"TwoChallengesWithEscapes",
                  R"(Newauth realm="apps", type=1, title="Login to \"apps\"", Basic realm="simple")",
                  {R"(Newauth realm=apps| title=Login to "apps"| type=1|)", "Basic realm=simple|"}},
        ParseCase{"CommaInsideQuotes",
                  R"(Digest realm="a, b", nonce="x,y", qop="auth,auth-int")",
                  {"Digest realm=a, b| nonce=x,y| qop=auth,auth-int|"}},
        ParseCase{"SpacesAroundEquals",
                  R"(Digest realm = "spaced" , nonce=abc)",
                  {"Digest realm=spaced| nonce=abc|"}},
        ParseCase{"SchemeCaseKept", R"(bAsIc REALM="x")", {"bAsIc realm=x|"}},
        ParseCase{
            "BareSchemes", "Negotiate, NTLM,Basic realm=\"x\"", {"Negotiate", "NTLM", "Basic realm=x|"}},
        ParseCase{"Token68", "NTLM TlRMTVNTUAACAAAA==", {"NTLM token68=TlRMTVNTUAACAAAA=="}},
        ParseCase{
            "Token68ThenChallenge", "NTLM abc/+, Basic realm=x", {"NTLM token68=abc/+", "Basic realm=x|"}},
        ParseCase{"EmptyListElements", " , ,Basic realm=x,, ", {"Basic realm=x|"}},
        ParseCase{"Empty", "", {}}, ParseCase{"Unterminated", R"(Basic realm="open)", {}, true},
        ParseCase{"EscapedClosingQuote", R"(Basic realm="open\")", {}, true},
        ParseCase{"LineBreakInQuotes", "Basic realm=\"a\r\nX-Injected: 1\"", {}, true},
        ParseCase{"NulInValue", std::string("Basic realm=\"a\0b\"", 17), {}, true},
        ParseCase{"RepeatedParameter", "Basic realm=a, REALM=b", {}, true},
        ParseCase{"NoScheme", "=Basic", {}, true}, ParseCase{"TwoBareTokens", "Basic foo bar", {}, true},
        ParseCase{"JunkAfterValue", R"(Basic realm="x" extra)", {}, true},
        ParseCase{"NoSpaceAfterScheme", R"(Basic"x")", {}, true},
        ParseCase{"EmptyValue", "Basic realm=, nonce=x", {}, true},
        ParseCase{"TooLong",
                  "Basic realm=\"" + std::string(HttpAuthChallenge::kMaxFieldLength, 'a') + "\"",
                  {},
                  true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ChallengeLimitsTest, RefusesTooManyChallengesOrParameters) {
  std::string challenges;
  for (std::size_t i = 0; i <= HttpAuthChallenge::kMaxChallengesPerField; ++i) challenges += "Basic, ";
  EXPECT_FALSE(HttpAuthChallenge::parseField(challenges));

  std::string parameters = "Digest ";
  for (std::size_t i = 0; i <= HttpAuthChallenge::kMaxParameters; ++i) {
    parameters += "p" + std::to_string(i) + "=v, ";
  }
  EXPECT_FALSE(HttpAuthChallenge::parseField(parameters));
}

TEST(ChallengeFieldsTest, CollectsEveryFieldOfTheNameAndSkipsUnreadableOnes) {
  HttpAuthChallenge::Fields fields = {{"WWW-Authenticate", "Basic realm=\"one\""},
                                      {"Proxy-Authenticate", "Basic realm=\"proxy\""},
                                      {"www-authenticate", "Digest realm=\"broken"},
                                      {"WWW-AUTHENTICATE", "NTLM"}};
  EXPECT_EQ(describe(HttpAuthChallenge::parseFields(fields, "WWW-Authenticate"), {"realm"}),
            (std::vector<std::string>{"Basic realm=one|", "NTLM"}));
  EXPECT_EQ(describe(HttpAuthChallenge::parseFields(fields, "Proxy-Authenticate"), {"realm"}),
            (std::vector<std::string>{"Basic realm=proxy|"}));
}

TEST(ChallengeFieldsTest, ReadsABoundedNumberOfFields) {
  HttpAuthChallenge::Fields fields(HttpAuthChallenge::kMaxFieldsRead + 5, {"WWW-Authenticate", "Basic"});
  EXPECT_EQ(HttpAuthChallenge::parseFields(fields, "WWW-Authenticate").size(),
            HttpAuthChallenge::kMaxFieldsRead);
}

}  // namespace
}  // namespace pf
