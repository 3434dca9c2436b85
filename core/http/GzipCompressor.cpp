#include "core/http/GzipCompressor.h"

#include <zlib.h>

#include <algorithm>

#include "core/http/GzipFileCoder.h"
#include "platform/foundation/Format.h"

namespace {

constexpr std::size_t kMinimumGrowth = 1024;

}  // namespace

std::shared_ptr<GzipCompressor> GzipCompressor::compressor() {
  auto made = std::make_shared<GzipCompressor>();
  return made->setupStream() ? nullptr : made;
}

GzipCompressor::GzipCompressor() : stream_(GzipStream::Direction::Deflate, &deflateErrorWithCode) {}

GzipCompressor::~GzipCompressor() = default;

pf::ErrorPtr GzipCompressor::setupStream() {
  return stream_.setup();
}

pf::ErrorPtr GzipCompressor::closeStream() {
  return stream_.close();
}

std::optional<pf::Data> GzipCompressor::compressBytes(const std::uint8_t* bytes, std::size_t length,
                                                      pf::ErrorPtr* error, bool shouldFinish) {
  if (length == 0) return std::nullopt;
  return deflateChunk(bytes, length, error, shouldFinish);
}

std::optional<pf::Data> GzipCompressor::deflateChunk(const std::uint8_t* bytes, std::size_t length,
                                                     pf::ErrorPtr* error, bool shouldFinish) {
  if (!stream_.isReady()) {
    if (error) *error = deflateErrorWithCode(Z_STREAM_ERROR);
    return std::nullopt;
  }
  z_stream& z = stream_.z();
  z.next_in = const_cast<Bytef*>(bytes);
  z.avail_in = static_cast<uInt>(length);
  const std::size_t growth = std::max(length / 2, kMinimumGrowth);
  pf::Data out(growth);
  std::size_t produced = 0;
  while (true) {
    if (produced == out.size()) out.resize(out.size() + growth);
    z.next_out = out.data() + produced;
    z.avail_out = static_cast<uInt>(out.size() - produced);
    const int rc = deflate(&z, shouldFinish ? Z_FINISH : Z_NO_FLUSH);
    produced = out.size() - z.avail_out;
    if (rc == Z_STREAM_END) break;
    if (rc != Z_OK && rc != Z_BUF_ERROR) {
      if (error) *error = deflateErrorWithCode(rc);
      return std::nullopt;
    }
    if (z.avail_out != 0) break;
  }
  out.resize(produced);
  return out;
}

std::optional<pf::Data> GzipCompressor::compressData(const pf::Data& uncompressedData, pf::ErrorPtr* error) {
  std::shared_ptr<GzipCompressor> coder = std::make_shared<GzipCompressor>();
  if (pf::ErrorPtr setup = coder->setupStream()) {
    if (error) *error = setup;
    return std::nullopt;
  }
  std::optional<pf::Data> compressed =
      coder->compressBytes(uncompressedData.data(), uncompressedData.size(), error, true);
  pf::ErrorPtr closing = coder->closeStream();
  if (compressed && closing) {
    if (error) *error = closing;
    return std::nullopt;
  }
  return compressed;
}

bool GzipCompressor::compressDataFromFile(const std::string& sourcePath, const std::string& destinationPath,
                                          pf::ErrorPtr* error) {
  GzipCompressor coder;
  // The last chunk finishes the gzip stream, also when it is empty.
  const auto compressChunk = [&coder](const std::uint8_t* bytes, std::size_t length, bool last,
                                      pf::ErrorPtr* chunkError) {
    return coder.deflateChunk(bytes, length, chunkError, last);
  };
  return GzipFileCoder::codeFile(coder.stream_, "Compression", sourcePath, destinationPath, kChunkSize,
                                 compressChunk, error);
}

pf::ErrorPtr GzipCompressor::deflateErrorWithCode(int code) {
  return GzipFileCoder::error(pf::format("Compression of data failed with code %i", code));
}
