#include "core/http/GzipFileCoder.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "core/http/HttpRequestError.h"
#include "platform/foundation/Format.h"

namespace {

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

pf::ErrorPtr GzipFileCoder::error(const std::string& description) {
  return pf::Error::make(NetworkRequestErrorDomain, static_cast<long>(HttpRequestErrorCode::Compression),
                         description);
}

bool GzipFileCoder::codeFile(GzipStream& stream, const std::string& verb, const std::string& sourcePath,
                             const std::string& destinationPath, std::size_t chunkSize,
                             const ChunkCoder& coder, pf::ErrorPtr* err) {
  auto fail = [&](pf::ErrorPtr cause) {
    if (err) *err = std::move(cause);
    return false;
  };
  if (pf::ErrorPtr setup = stream.setup()) return fail(setup);
  if (!codeChunks(verb, sourcePath, destinationPath, chunkSize, coder, err)) return false;
  if (pf::ErrorPtr closing = stream.close()) return fail(closing);
  return true;
}

bool GzipFileCoder::codeChunks(const std::string& verb, const std::string& sourcePath,
                               const std::string& destinationPath, std::size_t chunkSize,
                               const ChunkCoder& coder, pf::ErrorPtr* err) {
  auto fail = [&](pf::ErrorPtr cause) {
    if (err) *err = std::move(cause);
    return false;
  };
  FileDescriptor out{::open(destinationPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
  if (out.fd < 0) {
    return fail(error(pf::format("%@ of %@ failed because we were to create a file at %@", verb, sourcePath,
                                 destinationPath)));
  }
  std::error_code ignored;
  if (!std::filesystem::exists(sourcePath, ignored)) {
    return fail(error(pf::format("%@ of %@ failed the file does not exist", verb, sourcePath)));
  }
  const pf::ErrorPtr unreadable = error(pf::format(
      "%@ of %@ failed because we were unable to read from the source data file", verb, sourcePath));
  const pf::ErrorPtr unwritable =
      error(pf::format("%@ of %@ failed because we were unable to write to the destination data file at %@",
                       verb, sourcePath, destinationPath));
  FileDescriptor in{::open(sourcePath.c_str(), O_RDONLY | O_CLOEXEC)};
  if (in.fd < 0) return fail(unreadable);

  std::vector<std::uint8_t> chunk(chunkSize);
  bool last = false;
  while (!last) {
    const long long count = readFully(in.fd, chunk.data(), chunk.size());
    if (count < 0) return fail(unreadable);
    // A file that ends exactly on a chunk boundary is finished with an empty last step.
    last = static_cast<std::size_t>(count) < chunkSize;
    pf::ErrorPtr coding;
    const std::optional<pf::Data> coded = coder(chunk.data(), static_cast<std::size_t>(count), last, &coding);
    if (coding) return fail(coding);
    if (coded && !writeFully(out.fd, *coded)) return fail(unwritable);
  }
  in.close();
  if (!out.close()) return fail(unwritable);
  return true;
}
