// Movie headers from the network: a stream's first bytes read for the movie's length, and the same
// bytes read as a file. A length that is found is a finite number no less than zero, and the file and
// the stream agree on it when the movie box comes first.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

#include "platform/media/Mp4Header.h"

namespace {

// The bytes as a file in memory: a file on disk per input would slow the run a hundredfold.
int mp4HeaderFile() {
  static const int fd = ::memfd_create("fuzz_mp4_header", 0);
  if (fd < 0) std::abort();
  return fd;
}

void mp4HeaderWrite(const std::uint8_t* data, std::size_t size) {
  if (::ftruncate(mp4HeaderFile(), 0) != 0) std::abort();
  if (size > 0 && ::pwrite(mp4HeaderFile(), data, size, 0) != static_cast<ssize_t>(size)) std::abort();
}

void checkLength(const std::optional<double>& seconds, const std::string& error, const char* what) {
  if (seconds ? std::isfinite(*seconds) && *seconds >= 0 && error.empty() : !error.empty()) return;
  std::fprintf(stderr, "%s: length %f, error \"%s\"\n", what, seconds.value_or(-1), error.c_str());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<unsigned char> bytes(data, data + size);
  std::string streamError;
  const auto fromStream = pf::Mp4Header::readDurationFromPrefix(bytes, &streamError);
  checkLength(fromStream, streamError, "stream");

  mp4HeaderWrite(data, size);
  std::string fileError;
  const auto fromFile =
      pf::Mp4Header::readDuration("/proc/self/fd/" + std::to_string(mp4HeaderFile()), &fileError);
  checkLength(fromFile, fileError, "file");
  // A stream's movie box lies wholly inside the bytes, so the file finds the same one.
  if (fromStream && fromFile != fromStream) {
    std::fprintf(stderr, "stream says %f s, file says %f (%s)\n", *fromStream, fromFile.value_or(-1), fileError.c_str());
    std::abort();
  }
  return 0;
}
