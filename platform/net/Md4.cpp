#include "platform/net/Md4.h"

#include <vector>

namespace pf {
namespace {

using Word = std::uint32_t;

Word rotate(Word x, int s) {
  return (x << s) | (x >> (32 - s));
}
Word f(Word x, Word y, Word z) {
  return (x & y) | (~x & z);
}
Word g(Word x, Word y, Word z) {
  return (x & y) | (x & z) | (y & z);
}
Word h(Word x, Word y, Word z) {
  return x ^ y ^ z;
}

Word readLittleEndian(const std::uint8_t* p) {
  return Word(p[0]) | Word(p[1]) << 8 | Word(p[2]) << 16 | Word(p[3]) << 24;
}

void processBlock(std::array<Word, 4>& state, const std::uint8_t* block) {
  Word x[16];
  for (int i = 0; i < 16; ++i) x[i] = readLittleEndian(block + 4 * i);
  Word a = state[0], b = state[1], c = state[2], d = state[3];

  static constexpr int kRound1Shifts[4] = {3, 7, 11, 19};
  for (int i = 0; i < 16; ++i) {
    Word t = rotate(a + f(b, c, d) + x[i], kRound1Shifts[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  static constexpr int kRound2Order[16] = {0, 4, 8, 12, 1, 5, 9, 13, 2, 6, 10, 14, 3, 7, 11, 15};
  static constexpr int kRound2Shifts[4] = {3, 5, 9, 13};
  for (int i = 0; i < 16; ++i) {
    Word t = rotate(a + g(b, c, d) + x[kRound2Order[i]] + 0x5a827999u, kRound2Shifts[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  static constexpr int kRound3Order[16] = {0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15};
  static constexpr int kRound3Shifts[4] = {3, 9, 11, 15};
  for (int i = 0; i < 16; ++i) {
    Word t = rotate(a + h(b, c, d) + x[kRound3Order[i]] + 0x6ed9eba1u, kRound3Shifts[i % 4]);
    a = d, d = c, c = b, b = t;
  }
  state[0] += a, state[1] += b, state[2] += c, state[3] += d;
}

}  // namespace

Md4::Digest Md4::digest(std::span<const std::uint8_t> bytes) {
  std::array<Word, 4> state = {0x67452301u, 0xefcdab89u, 0x98badcfeu, 0x10325476u};
  std::size_t whole = bytes.size() / 64 * 64;
  for (std::size_t offset = 0; offset < whole; offset += 64) processBlock(state, bytes.data() + offset);

  // Padding: 0x80, zeros up to 56 mod 64, then the bit length, little-endian.
  std::vector<std::uint8_t> tail(bytes.begin() + whole, bytes.end());
  tail.push_back(0x80);
  while (tail.size() % 64 != 56) tail.push_back(0);
  std::uint64_t bitLength = std::uint64_t(bytes.size()) * 8;
  for (int i = 0; i < 8; ++i) tail.push_back(std::uint8_t(bitLength >> (8 * i)));
  for (std::size_t offset = 0; offset < tail.size(); offset += 64) processBlock(state, tail.data() + offset);

  Digest out;
  for (int i = 0; i < 16; ++i) out[i] = std::uint8_t(state[i / 4] >> (8 * (i % 4)));
  return out;
}

Md4::Digest Md4::digest(std::string_view text) {
  return digest(std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

}  // namespace pf
