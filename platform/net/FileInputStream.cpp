#include "platform/net/FileInputStream.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/net/StreamError.h"

namespace pf {

FileInputStream::~FileInputStream() {
  close();
}

bool FileInputStream::open() {
  if (fd_ >= 0) return true;
  fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) fail(errno);
  return fd_ >= 0;
}

long long FileInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
  if (fd_ < 0) {
    fail(EBADF);
    return -1;
  }
  ssize_t count;
  do {
    count = ::read(fd_, buffer, maxLength);
  } while (count < 0 && errno == EINTR);
  if (count < 0) fail(errno);
  return count;
}

void FileInputStream::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

void FileInputStream::fail(int code) {
  error_ = StreamError::posix(code, path_ + ": " + std::strerror(code));
}

}  // namespace pf
