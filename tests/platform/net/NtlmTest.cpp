#include <gtest/gtest.h>

#include "platform/foundation/Base64.h"
#include "platform/foundation/Utf16.h"
#include "platform/net/HttpAuthentication.h"
#include "platform/net/NtlmMessage.h"
#include "platform/net/NtlmV2Response.h"

namespace pf {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes fromHex(std::string_view hex) {
  Bytes out;
  for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
    out.push_back(std::uint8_t(std::stoi(std::string(hex.substr(i, 2)), nullptr, 16)));
  }
  return out;
}

std::string toHex(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t byte : bytes) {
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xf]);
  }
  return out;
}

// The published NTLMv2 example of the protocol documentation: user "User", domain "Domain", password
// "Password", server challenge 0123456789abcdef, client challenge aa..aa, time 0, and its CHALLENGE
// message (target name "Server", AV pairs for domain "Domain" and server "Server").
const char kChallengeHex[] =
    "4e544c4d53535000020000000c000c003800000033828ae20123456789abcdef00000000000000002400240044000000"
    "060070170000000f53006500720076006500720002000c0044006f006d00610069006e0001000c00530065007200"
    "76006500720000000000";
const char kTargetInfoHex[] = "02000c0044006f006d00610069006e0001000c0053006500720076006500720000000000";
const Bytes kServerChallenge = fromHex("0123456789abcdef");
const std::array<std::uint8_t, 8> kClientChallenge = {0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa, 0xaa};

TEST(NtlmV2ResponseTest, ReproducesThePublishedExample) {
  auto key = NtlmV2Response::responseKey("User", "Password", "Domain");
  EXPECT_EQ(toHex(key), "0c868a403bfd7a93a3001ef22ef02e3f");

  std::array<std::uint8_t, 8> server;
  std::copy(kServerChallenge.begin(), kServerChallenge.end(), server.begin());
  EXPECT_EQ(toHex(NtlmV2Response::lmResponse(key, server, kClientChallenge)),
            "86c35097ac9cec102554764a57cccc19aaaaaaaaaaaaaaaa");

  Bytes blob = NtlmV2Response::blob(0, kClientChallenge, fromHex(kTargetInfoHex));
  EXPECT_EQ(toHex(blob),
            "0101000000000000"
            "0000000000000000"
            "aaaaaaaaaaaaaaaa"
            "00000000" +
                std::string(kTargetInfoHex) + "00000000");
  Bytes nt = NtlmV2Response::ntResponse(key, server, blob);
  EXPECT_EQ(toHex(std::span(nt).first(16)), "68cd0ab851e51c96aabc927bebef6a1c");
  EXPECT_TRUE(std::equal(blob.begin(), blob.end(), nt.begin() + 16));
}

TEST(NtlmV2ResponseTest, UpperCasesTheUserBeyondAscii) {
  EXPECT_EQ(utf16::decode(NtlmV2Response::upperCase("user")), "USER");
  EXPECT_EQ(utf16::decode(NtlmV2Response::upperCase("\xc3\xa9tienne")), "\xc3\x89TIENNE");      // étienne
  EXPECT_EQ(utf16::decode(NtlmV2Response::upperCase("\xd0\xb8\xd0\xb2")), "\xd0\x98\xd0\x92");  // ив
  EXPECT_EQ(utf16::decode(NtlmV2Response::upperCase("\xe5\xbc\xa0")), "\xe5\xbc\xa0");  // 张 has no case
}

TEST(NtlmMessageTest, NegotiateCarriesOurFlagsAndNothingElse) {
  EXPECT_EQ(toHex(NtlmMessage::negotiate()),
            "4e544c4d53535000"
            "01000000"
            "05820820"
            "0000000000000000"
            "0000000000000000");
}

TEST(NtlmMessageTest, ParsesTheChallenge) {
  auto challenge = NtlmMessage::parseChallenge(fromHex(kChallengeHex));
  ASSERT_TRUE(challenge);
  EXPECT_EQ(challenge->flags, 0xe28a8233u);
  EXPECT_EQ(toHex(challenge->serverChallenge), "0123456789abcdef");
  EXPECT_EQ(toHex(challenge->targetInfo), kTargetInfoHex);
  EXPECT_EQ(challenge->timestamp, std::nullopt);
}

// A challenge with target info made of the given AV pairs (already encoded), placed right after a
// 48-byte header.
Bytes challengeWith(const Bytes& targetInfo) {
  Bytes message = fromHex(
      "4e544c4d53535000"
      "02000000"
      "0000000030000000"
      "01000000"
      "0123456789abcdef"
      "0000000000000000");
  Bytes fields = {std::uint8_t(targetInfo.size()),
                  std::uint8_t(targetInfo.size() >> 8),
                  std::uint8_t(targetInfo.size()),
                  std::uint8_t(targetInfo.size() >> 8),
                  48,
                  0,
                  0,
                  0};
  message.insert(message.end(), fields.begin(), fields.end());
  message.insert(message.end(), targetInfo.begin(), targetInfo.end());
  return message;
}

TEST(NtlmMessageTest, ReadsTheServerTimestamp) {
  auto challenge =
      NtlmMessage::parseChallenge(challengeWith(fromHex("0700080001020304050607080000"
                                                        "0000")));
  ASSERT_TRUE(challenge);
  EXPECT_EQ(challenge->timestamp, 0x0807060504030201ull);
}

struct MalformedCase {
  const char* name;
  Bytes message;
};

class MalformedChallengeTest : public testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedChallengeTest, IsRefused) {
  EXPECT_FALSE(NtlmMessage::parseChallenge(GetParam().message));
}

Bytes withoutTail(Bytes message, std::size_t count) {
  message.resize(message.size() - count);
  return message;
}

Bytes withByte(Bytes message, std::size_t at, std::uint8_t value) {
  message[at] = value;
  return message;
}

INSTANTIATE_TEST_SUITE_P(
    Messages, MalformedChallengeTest,
    testing::Values(MalformedCase{"Short", withoutTail(fromHex(kChallengeHex), 57)},
                    MalformedCase{"Signature", withByte(fromHex(kChallengeHex), 0, 'n')},
                    MalformedCase{"NotAChallenge", withByte(fromHex(kChallengeHex), 8, 3)},
                    MalformedCase{"TargetInfoPastEnd", withByte(fromHex(kChallengeHex), 40, 0x25)},
                    MalformedCase{"TargetInfoOffsetPastEnd", withByte(fromHex(kChallengeHex), 47, 0x80)},
                    MalformedCase{"PairPastEnd", challengeWith(fromHex("0200ff00440000000000"))},
                    MalformedCase{"NoEndOfList", challengeWith(fromHex("02000200440001000000"))},
                    MalformedCase{"TooLong", Bytes(NtlmMessage::kMaxChallengeLength + 1, 0)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NtlmMessageTest, RefusesEveryTruncationWithoutReadingPastTheEnd) {
  Bytes whole = fromHex(kChallengeHex);
  for (std::size_t length = 0; length < whole.size(); ++length) {
    Bytes cut(whole.begin(), whole.begin() + length);
    EXPECT_FALSE(NtlmMessage::parseChallenge(cut)) << length;
  }
}

TEST(NtlmMessageTest, RefusesTooManyPairs) {
  Bytes pairs;
  for (std::size_t i = 0; i < NtlmMessage::kMaxTargetInfoPairs; ++i) pairs.insert(pairs.end(), {9, 0, 0, 0});
  pairs.insert(pairs.end(), {0, 0, 0, 0});
  EXPECT_FALSE(NtlmMessage::parseChallenge(challengeWith(pairs)));
}

// One security buffer of an AUTHENTICATE message: (length, offset) at the given position.
Bytes bufferAt(const Bytes& message, std::size_t position) {
  std::size_t length = message[position] | message[position + 1] << 8;
  std::size_t offset = message[position + 4] | message[position + 5] << 8;
  return Bytes(message.begin() + offset, message.begin() + offset + length);
}

Bytes decodeHeader(const std::string& header) {
  EXPECT_EQ(header.substr(0, 5), "NTLM ");
  return base64::decode(header.substr(5)).value_or(Bytes());
}

HttpAuthentication::Sources examplesSources() {
  HttpAuthentication::Sources sources;
  sources.ntlmClientChallenge = [] { return kClientChallenge; };
  sources.ntlmFileTime = [] { return std::uint64_t(0); };
  return sources;
}

TEST(NtlmHandshakeTest, NegotiatesThenAnswersTheChallenge) {
  auto authentication =
      HttpAuthentication::fromResponse(401, {{"WWW-Authenticate", "NTLM"}}, examplesSources());
  HttpAuthentication::Credentials credentials{"User", "Password", "Domain"};
  EXPECT_EQ(decodeHeader(*authentication->applyCredentials(credentials, "GET", "/")),
            NtlmMessage::negotiate());

  authentication->update({{"WWW-Authenticate", "NTLM " + base64::encode(fromHex(kChallengeHex))}});
  ASSERT_TRUE(authentication->isValid());
  Bytes message = decodeHeader(*authentication->applyCredentials(credentials, "GET", "/"));
  ASSERT_GE(message.size(), 64u);
  EXPECT_EQ(toHex(std::span(message).first(12)), "4e544c4d5353500003000000");
  EXPECT_EQ(toHex(bufferAt(message, 12)), "86c35097ac9cec102554764a57cccc19aaaaaaaaaaaaaaaa");
  Bytes nt = bufferAt(message, 20);
  ASSERT_GE(nt.size(), 16u);
  EXPECT_EQ(toHex(std::span(nt).first(16)), "68cd0ab851e51c96aabc927bebef6a1c");
  EXPECT_EQ(bufferAt(message, 28), NtlmMessage::unicode(u"Domain"));
  EXPECT_EQ(bufferAt(message, 36), NtlmMessage::unicode(u"User"));
  std::uint32_t flags = message[60] | message[61] << 8 | message[62] << 16 | std::uint32_t(message[63]) << 24;
  EXPECT_EQ(flags, 0xe28a8233u & NtlmMessage::kClientFlags);

  // The answer was refused: the server starts over.
  authentication->update({{"WWW-Authenticate", "NTLM"}});
  ErrorPtr error;
  EXPECT_FALSE(authentication->isValid(&error));
  EXPECT_EQ(error->code(), HttpAuthentication::kBadPassword);
}

TEST(NtlmHandshakeTest, UsesTheServerTimestampAndLeavesLmEmpty) {
  Bytes challenge =
      challengeWith(fromHex("0700080001020304050607080000"
                            "0000"));
  auto authentication = HttpAuthentication::fromResponse(
      401, {{"WWW-Authenticate", "NTLM " + base64::encode(challenge)}}, examplesSources());
  Bytes message = decodeHeader(*authentication->applyCredentials({"u", "p", ""}, "GET", "/"));
  EXPECT_EQ(bufferAt(message, 12), Bytes(24, 0));
  Bytes nt = bufferAt(message, 20);
  ASSERT_GE(nt.size(), 32u);
  EXPECT_EQ(toHex(std::span(nt).subspan(24, 8)), "0102030405060708");
}

TEST(NtlmHandshakeTest, ANewAttemptAfterAnsweringNegotiatesAgain) {
  auto authentication = HttpAuthentication::fromResponse(
      401, {{"WWW-Authenticate", "NTLM " + base64::encode(fromHex(kChallengeHex))}}, examplesSources());
  HttpAuthentication::Credentials credentials{"User", "Password", "Domain"};
  EXPECT_EQ(decodeHeader(*authentication->applyCredentials(credentials, "GET", "/"))[8], 3);
  EXPECT_EQ(decodeHeader(*authentication->applyCredentials(credentials, "GET", "/"))[8], 1);
}

}  // namespace
}  // namespace pf
