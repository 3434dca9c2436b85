#include "platform/foundation/Base64.h"

#include <gtest/gtest.h>

namespace pf::base64 {
namespace {

struct RoundTripCase {
  std::vector<std::uint8_t> bytes;
  const char* encoded;
};

class Base64RoundTripTest : public testing::TestWithParam<RoundTripCase> {};

TEST_P(Base64RoundTripTest, EncodesAndDecodesBack) {
  EXPECT_EQ(encode(GetParam().bytes), GetParam().encoded);
  EXPECT_EQ(decode(GetParam().encoded), GetParam().bytes);
}

std::vector<std::uint8_t> bytesOf(std::string_view text) {
  return {text.begin(), text.end()};
}

// The RFC 4648 vectors, UTF-8 text and bytes that use "+", "/" and high values.
INSTANTIATE_TEST_SUITE_P(Vectors, Base64RoundTripTest,
                         testing::Values(RoundTripCase{{}, ""}, RoundTripCase{bytesOf("f"), "Zg=="},
                                         RoundTripCase{bytesOf("fo"), "Zm8="},
                                         RoundTripCase{bytesOf("foo"), "Zm9v"},
                                         RoundTripCase{bytesOf("foobar"), "Zm9vYmFy"},
                                         RoundTripCase{bytesOf("中文"), "5Lit5paH"},
                                         RoundTripCase{{0xE4, 0xB8, 0xAD, 0xFF, 0x01}, "5Lit/wE="},
                                         RoundTripCase{{0xFB, 0xEF, 0xFF}, "++//"}));

TEST(Base64TextTest, EncodesTextBytes) {
  EXPECT_EQ(encode("user:pass"), "dXNlcjpwYXNz");
}

class Base64BadInputTest : public testing::TestWithParam<const char*> {};

TEST_P(Base64BadInputTest, AnswersNothing) {
  EXPECT_EQ(decode(GetParam()), std::nullopt) << GetParam();
}

INSTANTIATE_TEST_SUITE_P(Inputs, Base64BadInputTest,
                         testing::Values("Zg", "Zg=", "Z===", "====", "=Zm9", "Z=g=", "Zg==Zm8=", "Zm9v\n",
                                         "Zm 9v", "Zm-_", "5Lit5pa\xE4"));

}  // namespace
}  // namespace pf::base64
