#include "platform/net/HttpAuthentication.h"

#include <gtest/gtest.h>

#include <mutex>
#include <set>
#include <thread>

#include "platform/foundation/Md5.h"

namespace pf {
namespace {

using Fields = HttpAuthChallenge::Fields;

HttpAuthentication::Sources fixedNonce(std::string nonce) {
  HttpAuthentication::Sources sources;
  sources.digestClientNonce = [nonce] { return nonce; };
  return sources;
}

Fields challenge(std::string value) {
  return {{"WWW-Authenticate", std::move(value)}};
}

struct SelectionCase {
  const char* name;
  int status;
  Fields fields;
  const char* method;  // nullptr: no object
};

class AuthenticationSelectionTest : public testing::TestWithParam<SelectionCase> {};

TEST_P(AuthenticationSelectionTest, PicksTheStrongestSupportedChallenge) {
  const SelectionCase& c = GetParam();
  auto authentication = HttpAuthentication::fromResponse(c.status, c.fields);
  if (!c.method) {
    EXPECT_EQ(authentication, nullptr);
    return;
  }
  ASSERT_NE(authentication, nullptr);
  EXPECT_EQ(authentication->method(), c.method);
  EXPECT_TRUE(authentication->isValid());
}

const char kDigest[] = R"(Digest realm="r", nonce="n")";

INSTANTIATE_TEST_SUITE_P(
    Challenges, AuthenticationSelectionTest,
    testing::Values(
        SelectionCase{"NtlmOverBasic",
                      401,
                      {{"WWW-Authenticate", "Basic realm=\"r\""}, {"WWW-Authenticate", "NTLM"}},
                      "NTLM"},
        SelectionCase{"DigestOverBasic", 401, challenge(std::string("Basic realm=x, ") + kDigest), "Digest"},
        SelectionCase{"NtlmOverDigest", 401, challenge(std::string(kDigest) + ", NTLM"), "NTLM"},
        SelectionCase{"UnknownSkipped", 401, challenge("Negotiate, Bearer realm=\"api\", Basic realm=x"),
                      "Basic"},
        SelectionCase{"OnlyUnknown", 401, challenge("Negotiate"), nullptr},
        SelectionCase{"DigestWithoutNonce", 401, challenge("Digest realm=r"), nullptr},
        SelectionCase{"DigestUnknownAlgorithm", 401,
                      challenge(std::string(kDigest) + ", algorithm=SHA-512-256"), nullptr},
        SelectionCase{"DigestOnlyAuthInt", 401, challenge(std::string(kDigest) + ", qop=auth-int"), nullptr},
        SelectionCase{"SessionAlgorithmWithoutQop", 401,
                      challenge(std::string(kDigest) + ", algorithm=MD5-sess"), nullptr},
        SelectionCase{"UnreadableNtlmFallsBack", 401, challenge("NTLM AAAA, Basic realm=x"), "Basic"},
        SelectionCase{"UnreadableFieldSkipped",
                      401,
                      {{"WWW-Authenticate", "NTLM \"x"}, {"WWW-Authenticate", "Basic realm=x"}},
                      "Basic"},
        SelectionCase{"NotAChallengeStatus", 200, challenge("Basic realm=x"), nullptr},
        SelectionCase{"ProxyNeedsProxyField", 407, challenge("Basic realm=x"), nullptr},
        SelectionCase{"ProxyField", 407, {{"Proxy-Authenticate", "Basic realm=x"}}, "Basic"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AuthenticationTest, AnswersAboutTheChosenScheme) {
  auto basic = HttpAuthentication::fromResponse(401, challenge(R"(Basic realm="Staff, HR")"));
  EXPECT_EQ(basic->realm(), "Staff, HR");
  EXPECT_EQ(basic->headerName(), "Authorization");
  EXPECT_FALSE(basic->isProxy());
  EXPECT_TRUE(basic->requiresUsernameAndPassword());
  EXPECT_FALSE(basic->requiresAccountDomain());

  auto ntlm = HttpAuthentication::fromResponse(407, {{"Proxy-Authenticate", "NTLM"}});
  EXPECT_EQ(ntlm->realm(), std::nullopt);
  EXPECT_EQ(ntlm->headerName(), "Proxy-Authorization");
  EXPECT_TRUE(ntlm->isProxy());
  EXPECT_TRUE(ntlm->requiresAccountDomain());
}

struct BasicCase {
  std::string user;
  std::string password;
  std::optional<std::string> header;
};

class BasicTest : public testing::TestWithParam<BasicCase> {};

TEST_P(BasicTest, EncodesUtf8UserAndPassword) {
  auto authentication = HttpAuthentication::fromResponse(401, challenge("Basic realm=\"WallyWorld\""));
  EXPECT_EQ(authentication->applyCredentials({GetParam().user, GetParam().password, ""}, "GET", "/"),
            GetParam().header);
}

// The first two from RFC 7617.
INSTANTIATE_TEST_SUITE_P(
    Credentials, BasicTest,
    testing::Values(BasicCase{"Aladdin", "open sesame", "Basic QWxhZGRpbjpvcGVuIHNlc2FtZQ=="},
                    BasicCase{"test", "123\xc2\xa3", "Basic dGVzdDoxMjPCow=="},
                    BasicCase{"\xe5\xbc\xa0\xe4\xb8\x89", "p:w", "Basic 5byg5LiJOnA6dw=="},
                    BasicCase{"a:b", "pw", std::nullopt}, BasicCase{"user", "pw\r\nX: y", std::nullopt}));

const char kMufasaChallenge[] =
    R"(Digest realm="testrealm@host.com", qop="auth,auth-int", nonce="dcd98b7102dd2f0e8b11d0f600bfb0c093", )"
    R"(opaque="5ccc069c403ebaf9f0171e9517f40e41")";

TEST(DigestTest, ReproducesTheRfc2617Example) {
  auto authentication =
      HttpAuthentication::fromResponse(401, challenge(kMufasaChallenge), fixedNonce("0a4f113b"));
  EXPECT_EQ(authentication->realm(), "testrealm@host.com");
  EXPECT_EQ(
      authentication->applyCredentials({"Mufasa", "Circle Of Life", ""}, "GET", "/dir/index.html"),
      R"(Digest username="Mufasa", realm="testrealm@host.com", nonce="dcd98b7102dd2f0e8b11d0f600bfb0c093", )"
      R"(uri="/dir/index.html", qop=auth, nc=00000001, cnonce="0a4f113b", )"
      R"(response="6629fae49393a05397450978507c4ef1", opaque="5ccc069c403ebaf9f0171e9517f40e41")");
}

std::string field(const std::string& header, const std::string& name) {
  std::size_t at = header.find(" " + name + "=");
  if (at == std::string::npos) return "";
  at += name.size() + 2;
  bool quoted = header[at] == '"';
  std::size_t end = header.find(quoted ? '"' : ',', at + quoted);
  return header.substr(at + quoted, end - at - quoted);
}

TEST(DigestTest, ReproducesTheRfc7616ExamplesAndPrefersSha256) {
  const std::string params =
      R"(realm="http-auth@example.org", qop="auth, auth-int", nonce="7ypf/xlj9XXwfDPEoM4URrv/xwf94BcCAzFZH4GiTo0v", )"
      R"(opaque="FQhe/qaU925kfnzjCev0ciny7QMkPqMAFRtzCUYo5tdS")";
  const std::string md5 = "Digest " + params + ", algorithm=MD5";
  const std::string sha256 = "Digest " + params + ", algorithm=SHA-256";
  HttpAuthentication::Credentials credentials{"Mufasa", "Circle of Life", ""};
  auto sources = fixedNonce("f2/wE4q74E6zIJEtWaHKaf5wv/H5QzzpXusqGemxURZJ");

  auto both = HttpAuthentication::fromResponse(401, {{"WWW-Authenticate", md5}, {"WWW-Authenticate", sha256}},
                                               sources);
  std::string header = *both->applyCredentials(credentials, "GET", "/dir/index.html");
  EXPECT_EQ(field(header, "algorithm"), "SHA-256");
  EXPECT_EQ(field(header, "response"), "753927fa0e85d155564e2e272a28d1802ca10daf4496794697cf8db5856cb6c1");

  auto onlyMd5 = HttpAuthentication::fromResponse(401, challenge(md5), sources);
  header = *onlyMd5->applyCredentials(credentials, "GET", "/dir/index.html");
  EXPECT_EQ(field(header, "algorithm"), "MD5");
  EXPECT_EQ(field(header, "response"), "8ca523f5e9506fed4657c9700eebdbec");
}

TEST(DigestTest, ComputesMd5SessionAndCountsNonceUses) {
  auto authentication = HttpAuthentication::fromResponse(
      401, challenge(R"(Digest realm="r", nonce="n1", qop=auth, algorithm=MD5-sess)"), fixedNonce("c"));
  std::string ha1 = md5::hex(md5::hex("u:r:p") + ":n1:c");
  std::string ha2 = md5::hex("POST:/a?b=1");
  for (const char* count : {"00000001", "00000002"}) {
    std::string header = *authentication->applyCredentials({"u", "p", ""}, "POST", "/a?b=1");
    EXPECT_EQ(field(header, "nc"), count);
    EXPECT_EQ(field(header, "algorithm"), "MD5-sess");
    EXPECT_EQ(field(header, "response"), md5::hex(ha1 + ":n1:" + count + ":c:auth:" + ha2));
  }
}

TEST(DigestTest, RequestsSharingTheObjectNeverRepeatANonceCount) {
  auto authentication =
      HttpAuthentication::fromResponse(401, challenge(R"(Digest realm="r", nonce="n", qop=auth)"));
  std::mutex mutex;
  std::set<std::string> counts;
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&] {
      for (int i = 0; i < 25; ++i) {
        std::string header = *authentication->applyCredentials({"u", "p", ""}, "GET", "/");
        std::lock_guard lock(mutex);
        counts.insert(field(header, "nc"));
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(counts.size(), 100u);
  EXPECT_EQ(*counts.rbegin(), "00000064");
}

TEST(DigestTest, AnswersOldServersWithoutQop) {
  auto authentication = HttpAuthentication::fromResponse(401, challenge(R"(Digest realm="r", nonce="n")"));
  std::string header = *authentication->applyCredentials({"u", "p", ""}, "GET", "/");
  EXPECT_EQ(field(header, "response"), md5::hex(md5::hex("u:r:p") + ":n:" + md5::hex("GET:/")));
  EXPECT_EQ(header.find("nc="), std::string::npos);
  EXPECT_EQ(header.find("cnonce="), std::string::npos);
}

TEST(DigestTest, EscapesQuotedValuesAndRefusesControlCharacters) {
  auto authentication =
      HttpAuthentication::fromResponse(401, challenge(R"(Digest realm="a \"b\" \\ c", nonce="n", qop=auth)"));
  std::string header = *authentication->applyCredentials({R"(dom\us"er)", "p", ""}, "GET", "/");
  EXPECT_NE(header.find(R"(username="dom\\us\"er")"), std::string::npos) << header;
  EXPECT_NE(header.find(R"(realm="a \"b\" \\ c")"), std::string::npos) << header;
  EXPECT_EQ(authentication->applyCredentials({"u\r\nX: 1", "p", ""}, "GET", "/"), std::nullopt);
}

TEST(DigestTest, StaleNonceIsRetriedNotRejected) {
  auto authentication = HttpAuthentication::fromResponse(
      401, challenge(R"(Digest realm="r", nonce="old", qop=auth)"), fixedNonce("c"));
  authentication->applyCredentials({"u", "p", ""}, "GET", "/");
  authentication->applyCredentials({"u", "p", ""}, "GET", "/");

  authentication->update(challenge(R"(Digest realm="r", nonce="new", qop=auth, stale=TRUE)"));
  ASSERT_TRUE(authentication->isValid());
  std::string header = *authentication->applyCredentials({"u", "p", ""}, "GET", "/");
  EXPECT_EQ(field(header, "nonce"), "new");
  EXPECT_EQ(field(header, "nc"), "00000001");

  authentication->update(challenge(R"(Digest realm="r", nonce="newer", qop=auth)"));
  ErrorPtr error;
  EXPECT_FALSE(authentication->isValid(&error));
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->code(), HttpAuthentication::kBadPassword);
}

struct RejectionCase {
  const char* name;
  std::string first;
  std::string second;
  std::string user;
  long code;  // 0: still valid
};

class RejectionTest : public testing::TestWithParam<RejectionCase> {};

TEST_P(RejectionTest, ASecondChallengeAfterCredentialsMeansRefusal) {
  const RejectionCase& c = GetParam();
  auto authentication = HttpAuthentication::fromResponse(401, challenge(c.first));
  ASSERT_TRUE(authentication->applyCredentials({c.user, "secret", "D"}, "GET", "/"));
  authentication->update(challenge(c.second));
  ErrorPtr error;
  EXPECT_EQ(authentication->isValid(&error), c.code == 0);
  if (c.code == 0) return;
  ASSERT_NE(error, nullptr);
  EXPECT_EQ(error->domain(), HttpAuthentication::kErrorDomain);
  EXPECT_EQ(error->code(), c.code);
  EXPECT_EQ(authentication->applyCredentials({c.user, "secret", "D"}, "GET", "/"), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Schemes, RejectionTest,
    testing::Values(
        RejectionCase{"Basic", "Basic realm=r", "Basic realm=r", "u", HttpAuthentication::kBadPassword},
        RejectionCase{"BasicEmptyUser", "Basic realm=r", "Basic realm=r", "",
                      HttpAuthentication::kBadUserName},
        RejectionCase{"SchemeGone", "Basic realm=r", "Negotiate", "u", HttpAuthentication::kBadPassword},
        RejectionCase{"Digest", kDigest, kDigest, "u", HttpAuthentication::kBadPassword},
        RejectionCase{"DigestStaleOtherAlgorithm", kDigest,
                      std::string(kDigest) + ", stale=true, algorithm=SHA-256", "u",
                      HttpAuthentication::kBadPassword},
        RejectionCase{"NtlmRefusesNegotiation", "NTLM", "NTLM", "u", HttpAuthentication::kBadPassword},
        RejectionCase{"NtlmUnreadableChallenge", "NTLM", "NTLM AAAA", "u", HttpAuthentication::kParseFailure},
        RejectionCase{"DigestStale", kDigest, std::string(kDigest) + ", stale=true", "u", 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AuthenticationTest, ChallengeBeforeAnyAnswerReplacesTheFirst) {
  auto authentication = HttpAuthentication::fromResponse(401, challenge("Basic realm=one"));
  authentication->update(challenge("Basic realm=two"));
  EXPECT_TRUE(authentication->isValid());
  EXPECT_EQ(authentication->realm(), "two");
  authentication->update(challenge("Bearer"));
  EXPECT_FALSE(authentication->isValid());
}

}  // namespace
}  // namespace pf
