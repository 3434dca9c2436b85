#include "core/http/GzipCompressor.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <random>
#include <sstream>

#include "tests/support/TemporaryFolder.h"

namespace {

// Inflates a whole gzip stream; nullopt unless it is complete and well-formed.
std::optional<std::string> gunzip(const pf::Data& data) {
  z_stream z{};
  inflateInit2(&z, 47);
  std::string out(1 << 20, '\0');
  std::string result;
  z.next_in = const_cast<Bytef*>(data.data());
  z.avail_in = static_cast<uInt>(data.size());
  int rc;
  do {
    z.next_out = reinterpret_cast<Bytef*>(out.data());
    z.avail_out = static_cast<uInt>(out.size());
    rc = inflate(&z, Z_NO_FLUSH);
    result.append(out.data(), out.size() - z.avail_out);
  } while (rc == Z_OK);
  inflateEnd(&z);
  if (rc != Z_STREAM_END) return std::nullopt;
  return result;
}

pf::Data randomBytes(std::size_t size) {
  std::mt19937 random(42);
  pf::Data bytes(size);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random() % 7);  // compressible, not trivial
  return bytes;
}

pf::Data readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string text = content.str();
  return pf::Data(text.begin(), text.end());
}

void writeFile(const std::string& path, const pf::Data& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

TEST(GzipCompressorTest, CompressesBuffersIntoCompleteGzipStreams) {
  for (std::size_t size : {std::size_t{1}, std::size_t{1000}, std::size_t{300000}}) {
    SCOPED_TRACE(size);
    const pf::Data original = randomBytes(size);
    pf::ErrorPtr error;
    std::optional<pf::Data> compressed = GzipCompressor::compressData(original, &error);
    ASSERT_TRUE(compressed);
    EXPECT_FALSE(error);
    ASSERT_GE(compressed->size(), 2u);
    EXPECT_EQ((*compressed)[0], 0x1f);
    EXPECT_EQ((*compressed)[1], 0x8b);
    EXPECT_EQ(gunzip(*compressed), std::string(original.begin(), original.end()));
  }
  pf::ErrorPtr error;
  EXPECT_FALSE(GzipCompressor::compressData({}, &error));
  EXPECT_FALSE(error);
}

TEST(GzipCompressorTest, CompressesFilesChunkByChunkUpToACompleteEnd) {
  pf_test::TemporaryFolder folder;
  for (std::size_t size :
       {std::size_t{0}, std::size_t{300000}, GzipCompressor::kChunkSize, 2 * GzipCompressor::kChunkSize}) {
    SCOPED_TRACE(size);
    const pf::Data original = randomBytes(size);
    writeFile(folder.file("source"), original);
    pf::ErrorPtr error;
    ASSERT_TRUE(
        GzipCompressor::compressDataFromFile(folder.file("source"), folder.file("target.gz"), &error));
    EXPECT_EQ(gunzip(readFile(folder.file("target.gz"))), std::string(original.begin(), original.end()));
  }
}

TEST(GzipCompressorTest, ReportsFileProblemsAsCompressionErrors) {
  pf_test::TemporaryFolder folder;
  writeFile(folder.file("source"), randomBytes(10));
  const struct {
    std::string source;
    std::string destination;
    std::string description;
  } cases[] = {
      {folder.file("missing"), folder.file("out"),
       "Compression of " + folder.file("missing") + " failed the file does not exist"},
      {folder.file("source"), folder.file("no/such/folder/out"),
       "Compression of " + folder.file("source") + " failed because we were to create a file at " +
           folder.file("no/such/folder/out")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.description);
    pf::ErrorPtr error;
    EXPECT_FALSE(GzipCompressor::compressDataFromFile(c.source, c.destination, &error));
    ASSERT_TRUE(error);
    EXPECT_EQ(error->domain(), "HttpRequestErrorDomain");
    EXPECT_EQ(error->code(), 11);
    EXPECT_EQ(error->localizedDescription(), c.description);
  }
  EXPECT_EQ(GzipCompressor::deflateErrorWithCode(-2)->localizedDescription(),
            "Compression of data failed with code -2");
}

}  // namespace
