#include "core/http/GzipCompressor.h"

#include <fcntl.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/http/HttpRequestError.h"
#include "platform/foundation/Format.h"

namespace {

constexpr std::size_t kMinimumGrowth = 1024;

pf::ErrorPtr compressionError(const std::string& description) {
  return pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::Compression),
                         description);
}

// Reads until the buffer is full or the file ends; -1 on failure.
long long readFully(int fd, std::uint8_t* buffer, std::size_t length) {
  std::size_t total = 0;
  while (total < length) {
    const ssize_t count = ::read(fd, buffer + total, length - total);
    if (count < 0 && errno == EINTR) continue;
    if (count < 0) return -1;
    if (count == 0) break;
    total += static_cast<std::size_t>(count);
  }
  return static_cast<long long>(total);
}

bool writeFully(int fd, const pf::Data& data) {
  std::size_t written = 0;
  while (written < data.size()) {
    const ssize_t count = ::write(fd, data.data() + written, data.size() - written);
    if (count < 0 && errno == EINTR) continue;
    if (count <= 0) return false;
    written += static_cast<std::size_t>(count);
  }
  return true;
}

// Closes its file when it goes out of scope.
struct FileDescriptor {
  int fd;
  ~FileDescriptor() {
    if (fd >= 0) ::close(fd);
  }
  bool close() {
    const int rc = ::close(fd);
    fd = -1;
    return rc == 0;
  }
};

}  // namespace

struct GzipCompressor::Stream {
  z_stream z{};
};

std::shared_ptr<GzipCompressor> GzipCompressor::compressor() {
  auto made = std::make_shared<GzipCompressor>();
  return made->setupStream() ? nullptr : made;
}

GzipCompressor::GzipCompressor() : stream_(std::make_unique<Stream>()) {}

GzipCompressor::~GzipCompressor() {
  closeStream();
}

pf::ErrorPtr GzipCompressor::setupStream() {
  if (streamReady_) return nullptr;
  stream_->z = z_stream{};
  const int rc = deflateInit2(&stream_->z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, 31, 8, Z_DEFAULT_STRATEGY);
  if (rc != Z_OK) return deflateErrorWithCode(rc);
  streamReady_ = true;
  return nullptr;
}

pf::ErrorPtr GzipCompressor::closeStream() {
  if (!streamReady_) return nullptr;
  streamReady_ = false;
  const int rc = deflateEnd(&stream_->z);
  return rc == Z_OK ? nullptr : deflateErrorWithCode(rc);
}

std::optional<pf::Data> GzipCompressor::compressBytes(const std::uint8_t* bytes, std::size_t length,
                                                      pf::ErrorPtr* error, bool shouldFinish) {
  if (length == 0) return std::nullopt;
  return deflateChunk(bytes, length, error, shouldFinish);
}

std::optional<pf::Data> GzipCompressor::deflateChunk(const std::uint8_t* bytes, std::size_t length,
                                                     pf::ErrorPtr* error, bool shouldFinish) {
  if (!streamReady_) {
    if (error) *error = deflateErrorWithCode(Z_STREAM_ERROR);
    return std::nullopt;
  }
  z_stream& z = stream_->z;
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
  std::shared_ptr<GzipCompressor> coder = std::make_shared<GzipCompressor>();
  auto fail = [&](pf::ErrorPtr cause) {
    coder->closeStream();
    if (error) *error = std::move(cause);
    return false;
  };
  FileDescriptor out{::open(destinationPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  if (out.fd < 0) {
    return fail(compressionError(pf::format("Compression of %@ failed because we were to create a file at %@",
                                            sourcePath, destinationPath)));
  }
  std::error_code ignored;
  if (!std::filesystem::exists(sourcePath, ignored)) {
    return fail(compressionError(pf::format("Compression of %@ failed the file does not exist", sourcePath)));
  }
  const pf::ErrorPtr unreadable = compressionError(pf::format(
      "Compression of %@ failed because we were unable to read from the source data file", sourcePath));
  const pf::ErrorPtr unwritable = compressionError(pf::format(
      "Compression of %@ failed because we were unable to write to the destination data file at %@",
      sourcePath, destinationPath));
  FileDescriptor in{::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) return fail(unreadable);
  if (pf::ErrorPtr setup = coder->setupStream()) return fail(setup);

  std::vector<std::uint8_t> chunk(kChunkSize);
  bool finished = false;
  while (!finished) {
    const long long count = readFully(in.fd, chunk.data(), chunk.size());
    if (count < 0) return fail(unreadable);
    // A file that ends exactly on a chunk boundary is finished with an empty last step.
    finished = static_cast<std::size_t>(count) < kChunkSize;
    pf::ErrorPtr coding;
    std::optional<pf::Data> compressed =
        coder->deflateChunk(chunk.data(), static_cast<std::size_t>(count), &coding, finished);
    if (!compressed) return fail(coding);
    if (!writeFully(out.fd, *compressed)) return fail(unwritable);
  }
  in.close();
  if (!out.close()) return fail(unwritable);
  if (pf::ErrorPtr closing = coder->closeStream()) {
    if (error) *error = closing;
    return false;
  }
  return true;
}

pf::ErrorPtr GzipCompressor::deflateErrorWithCode(int code) {
  return compressionError(pf::format("Compression of data failed with code %i", code));
}
