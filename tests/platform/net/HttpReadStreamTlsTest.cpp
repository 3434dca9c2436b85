#include <gtest/gtest.h>

#include "platform/net/HttpReadStream.h"
#include "platform/net/StreamError.h"
#include "tests/platform/net/StreamRun.h"
#include "tools/devserver/Answers.h"
#include "tools/devserver/DevServer.h"
#include "tools/devserver/SelfSignedCertificate.h"

namespace pf {
namespace {

using Stream = HttpReadStream;

// A TLS server whose certificate is made for this run (for "localhost" and 127.0.0.1).
class TlsServer {
 public:
  explicit TlsServer(long validUntil = 86400)
      : certificate(devserver::SelfSignedCertificate::make("localhost", -3600, validUntil)) {
    server.route("/secret", devserver::answers::text(200, "over tls"));
    started = server.startTls(certificate.certificatePem, certificate.privateKeyPem);
  }

  pf_test::StreamRun fetch(const TlsSettings& settings, bool persistent = false) {
    auto stream = Stream::make(HttpMessage::makeRequest("GET", *Url::parse(server.url("/secret"))));
    stream->setTlsSettings(settings);
    stream->setAttemptPersistentConnection(persistent);
    stream->setStreamId(1);
    pf_test::StreamRun run = pf_test::runStream(stream);
    lastStream = stream;  // a parked connection lives as long as the stream that parked it
    return run;
  }

  devserver::SelfSignedCertificate certificate;
  devserver::DevServer server;
  bool started = false;
  std::shared_ptr<Stream> lastStream;
};

TEST(HttpReadStreamTlsTest, VerifiesTheCertificateUnlessToldNotTo) {
  TlsServer fresh;
  TlsServer expired(-60);
  ASSERT_TRUE(fresh.started && expired.started);
  TlsSettings unchecked;
  unchecked.validatesCertificateChain = false;
  unchecked.allowsExpiredCertificates = true;
  unchecked.allowsAnyRoot = true;
  unchecked.peerName = "";
  TlsSettings trusted;
  trusted.anchorCertificatesPem = fresh.certificate.certificatePem;
  TlsSettings trustedOtherName = trusted;
  trustedOtherName.peerName = "other.example";
  TlsSettings trustedByName = trusted;
  trustedByName.peerName = "localhost";
  // A name OpenSSL refuses to take: checking the chain alone would let the wrong server through.
  TlsSettings trustedUnsettableName = trusted;
  trustedUnsettableName.peerName = std::string("localhost\0.evil.example", 23);
  TlsSettings trustedExpired;
  trustedExpired.anchorCertificatesPem = expired.certificate.certificatePem;
  TlsSettings expiredAllowed = trustedExpired;
  expiredAllowed.allowsExpiredCertificates = true;
  TlsSettings anyRoot;
  anyRoot.allowsAnyRoot = true;

  const struct {
    const char* what;
    TlsServer& server;
    TlsSettings settings;
    std::optional<long> error;
  } cases[] = {
      {"self-signed, verified", fresh, TlsSettings{}, StreamError::kTlsUnknownRoot},
      {"self-signed, not verified", fresh, unchecked, std::nullopt},
      {"self-signed, any root", fresh, anyRoot, std::nullopt},
      {"trusted, address matches", fresh, trusted, std::nullopt},
      {"trusted, name matches", fresh, trustedByName, std::nullopt},
      {"trusted, wrong name", fresh, trustedOtherName, StreamError::kTlsCertificateInvalid},
      {"trusted, a name that cannot be set", fresh, trustedUnsettableName, StreamError::kTlsProtocol},
      {"trusted but expired", expired, trustedExpired, StreamError::kTlsCertificateExpired},
      {"trusted, expiry allowed", expired, expiredAllowed, std::nullopt},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    pf_test::StreamRun run = c.server.fetch(c.settings);
    if (c.error) {
      ASSERT_TRUE(run.error);
      EXPECT_EQ(run.error->domain(), StreamError::kTlsDomain);
      EXPECT_EQ(run.error->code(), *c.error) << run.error->localizedDescription();
      EXPECT_GE(run.error->code(), -9818);
      EXPECT_LE(run.error->code(), -9800);
      EXPECT_TRUE(run.body.empty());
    } else {
      EXPECT_FALSE(run.error) << run.error->localizedDescription();
      EXPECT_EQ(run.body, "over tls");
    }
  }
}

TEST(HttpReadStreamTlsTest, KeepsATlsConnectionAliveOnlyForTheSameChecks) {
  TlsServer tls;
  ASSERT_TRUE(tls.started);
  TlsSettings unchecked;
  unchecked.validatesCertificateChain = false;
  unchecked.peerName = "";
  EXPECT_EQ(tls.fetch(unchecked, true).body, "over tls");
  EXPECT_EQ(tls.fetch(unchecked, true).body, "over tls");
  EXPECT_EQ(tls.server.connectionCount(), 1);
  // A stricter stream never inherits a connection that was let through unchecked.
  EXPECT_TRUE(tls.fetch(TlsSettings{}, true).error);
  EXPECT_EQ(tls.server.connectionCount(), 2);
}

}  // namespace
}  // namespace pf
