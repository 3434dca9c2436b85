#include "platform/net/Md4.h"

#include <gtest/gtest.h>

#include "platform/net/HmacMd5.h"

namespace pf {
namespace {

std::string hexOf(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t byte : bytes) {
    out.push_back(kDigits[byte >> 4]);
    out.push_back(kDigits[byte & 0xf]);
  }
  return out;
}

struct DigestCase {
  std::string text;
  const char* hex;
};

class Md4Test : public testing::TestWithParam<DigestCase> {};

TEST_P(Md4Test, MatchesKnownDigests) {
  EXPECT_EQ(hexOf(Md4::digest(GetParam().text)), GetParam().hex);
}

// The RFC 1320 test suite; the last two need a second block for their padding.
INSTANTIATE_TEST_SUITE_P(
    Rfc1320, Md4Test,
    testing::Values(DigestCase{"", "31d6cfe0d16ae931b73c59d7e0c089c0"},
                    DigestCase{"a", "bde52cb31de33e46245e05fbdbd6fb24"},
                    DigestCase{"abc", "a448017aaf21d8525fc10ae87aa6729d"},
                    DigestCase{"message digest", "d9130a8164549fe818874806e1c7014b"},
                    DigestCase{"abcdefghijklmnopqrstuvwxyz", "d79e1c308aa5bbcdeea8ed63df412da9"},
                    DigestCase{"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
                               "043f8582f241db351ce627e153e7f0e4"},
                    DigestCase{
                        "12345678901234567890123456789012345678901234567890123456789012345678901234567890",
                        "e33b4ddc9c38f2199c3e7b164fcc0536"}));

TEST(Md4Test, HashesTheUtf16PasswordIntoTheNtHash) {
  // "Password" as UTF-16LE: the NT hash of the NTLM protocol's published example.
  std::string password("P\0a\0s\0s\0w\0o\0r\0d\0", 16);
  EXPECT_EQ(hexOf(Md4::digest(password)), "a4f49c406510bdcab6824ee7c30fd852");
}

TEST(HmacMd5Test, MatchesRfc2104Vectors) {
  std::vector<std::uint8_t> key(16, 0x0b);
  std::string data = "Hi There";
  EXPECT_EQ(
      hexOf(HmacMd5::mac(key, std::span(reinterpret_cast<const std::uint8_t*>(data.data()), data.size()))),
      "9294727a3638bb1c13f48ef8158bfc9d");

  std::string jefe = "Jefe";
  std::string question = "what do ya want for nothing?";
  EXPECT_EQ(
      hexOf(HmacMd5::mac(std::span(reinterpret_cast<const std::uint8_t*>(jefe.data()), jefe.size()),
                         std::span(reinterpret_cast<const std::uint8_t*>(question.data()), question.size()))),
      "750c783e6ab0b503eaa86e310a5db738");
}

}  // namespace
}  // namespace pf
