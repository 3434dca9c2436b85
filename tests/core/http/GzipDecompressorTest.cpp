#include "core/http/GzipDecompressor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <random>
#include <sstream>

#include "core/http/GzipCompressor.h"
#include "tests/support/TemporaryFolder.h"

namespace {

pf::Data randomBytes(std::size_t size, int spread) {
  std::mt19937 random(11);
  pf::Data bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % spread);
  return bytes;
}

pf::Data zlibWrapped(const pf::Data& data) {
  uLongf length = compressBound(data.size());
  pf::Data out(length);
  compress(out.data(), &length, data.data(), data.size());
  out.resize(length);
  return out;
}

pf::Data readGzipFixture(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  return pf::Data(text.begin(), text.end());
}

void writeGzipFixture(const std::string& path, const pf::Data& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(GzipDecompressorTest, InflatesGzipAndZlibDataWhole) {
  // Zeros inflate to far more than the buffer the input suggests: nothing may stay behind.
  for (const pf::Data& original : {randomBytes(300000, 7), pf::Data(1 << 20, 0), pf::Data{42}}) {
    SCOPED_TRACE(original.size());
    for (const pf::Data& packed : {*GzipCompressor::compressData(original, nullptr), zlibWrapped(original)}) {
      pf::ErrorPtr error;
      EXPECT_EQ(GzipDecompressor::uncompressData(packed, &error), original);
      EXPECT_FALSE(error);
    }
  }
}

TEST(GzipDecompressorTest, InflatesChunkByChunkWithNothingHeldBack) {
  const pf::Data original(3 << 20, 'a');
  const pf::Data packed = *GzipCompressor::compressData(original, nullptr);
  auto decompressor = GzipDecompressor::decompressor();
  ASSERT_TRUE(decompressor);
  pf::Data inflated;
  for (std::size_t at = 0; at < packed.size(); at += 100) {
    pf::ErrorPtr error;
    const std::optional<pf::Data> piece = decompressor->uncompressBytes(
        packed.data() + at, std::min<std::size_t>(100, packed.size() - at), &error);
    ASSERT_FALSE(error);
    ASSERT_TRUE(piece);
    inflated.insert(inflated.end(), piece->begin(), piece->end());
  }
  EXPECT_TRUE(decompressor->reachedEnd());
  EXPECT_EQ(inflated, original);
}

TEST(GzipDecompressorTest, CorruptOrTruncatedDataIsACompressionError) {
  const pf::Data packed = *GzipCompressor::compressData(randomBytes(10000, 50), nullptr);
  pf::Data corrupt = packed;
  for (std::size_t i = 12; i < 40; ++i) corrupt[i] ^= 0x5a;
  for (const pf::Data& bad : {corrupt, pf::Data(packed.begin(), packed.begin() + 200)}) {
    pf::ErrorPtr error;
    EXPECT_FALSE(GzipDecompressor::uncompressData(bad, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "HttpRequestErrorDomain");
    EXPECT_EQ(error->code(), 11);
    EXPECT_EQ(error->localizedDescription().rfind("Decompression of data failed with code ", 0), 0u);
  }
}

TEST(GzipDecompressorTest, InflatesFilesOfAnySizeAndRefusesTruncatedOnes) {
  pf_test::TemporaryFolder folder;
  for (std::size_t size :
       {std::size_t{0}, GzipDecompressor::kChunkSize, 3 * GzipDecompressor::kChunkSize + 5}) {
    SCOPED_TRACE(size);
    const pf::Data original = randomBytes(size, 3);
    writeGzipFixture(folder.file("plain"), original);
    ASSERT_TRUE(
        GzipCompressor::compressDataFromFile(folder.file("plain"), folder.file("packed.gz"), nullptr));
    pf::ErrorPtr error;
    ASSERT_TRUE(
        GzipDecompressor::uncompressDataFromFile(folder.file("packed.gz"), folder.file("out"), &error));
    EXPECT_EQ(readGzipFixture(folder.file("out")), original);
  }
  const pf::Data packed = readGzipFixture(folder.file("packed.gz"));
  writeGzipFixture(folder.file("cut.gz"), pf::Data(packed.begin(), packed.begin() + packed.size() / 2));
  pf::ErrorPtr error;
  EXPECT_FALSE(GzipDecompressor::uncompressDataFromFile(folder.file("cut.gz"), folder.file("out"), &error));
  ASSERT_TRUE(error);
  EXPECT_EQ(error->code(), 11);
  EXPECT_EQ(GzipDecompressor::uncompressDataFromFile(folder.file("missing"), folder.file("out"), &error),
            false);
  EXPECT_EQ(error->localizedDescription(),
            "Decompression of " + folder.file("missing") + " failed the file does not exist");
}

}  // namespace
