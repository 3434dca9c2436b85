#include "platform/foundation/Md5.h"

#include <gtest/gtest.h>

#include <vector>

namespace pf::md5 {
namespace {

struct DigestCase {
  std::string text;
  const char* lowerHex;
};

class Md5Test : public testing::TestWithParam<DigestCase> {};

TEST_P(Md5Test, MatchesKnownDigests) {
  const DigestCase& c = GetParam();
  EXPECT_EQ(hex(c.text), c.lowerHex);
  std::string upper = hex(c.text, LetterCase::Upper);
  EXPECT_EQ(upper.size(), 32u);
  EXPECT_EQ(upper.find_first_of("abcdef"), std::string::npos);
  std::vector<std::uint8_t> bytes(c.text.begin(), c.text.end());
  EXPECT_EQ(hex(bytes), c.lowerHex);
}

// The RFC 1321 test suite, and Chinese text as UTF-8 (checked with md5sum).
INSTANTIATE_TEST_SUITE_P(
    Vectors, Md5Test,
    testing::Values(DigestCase{"", "d41d8cd98f00b204e9800998ecf8427e"},
                    DigestCase{"a", "0cc175b9c0f1b6a831c399e269772661"},
                    DigestCase{"abc", "900150983cd24fb0d6963f7d28e17f72"},
                    DigestCase{"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
                    DigestCase{"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
                    DigestCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                               "d174ab98d277d9f5a5611c2c9f419d9f"},
                    DigestCase{
                        "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
                        "57edf4a22be3c955ac49da2e2107b67a"},
                    DigestCase{"中文", "a7bac2239fcdcb3a067903d8077c4a07"}));

TEST(Md5DigestTest, RawBytesInDigestOrder) {
  Digest d = digest("abc");
  EXPECT_EQ(d.front(), 0x90);
  EXPECT_EQ(d.back(), 0x72);
  EXPECT_EQ(hex(d, LetterCase::Upper), "900150983CD24FB0D6963F7D28E17F72");
}

}  // namespace
}  // namespace pf::md5
