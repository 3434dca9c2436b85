#pragma once
// An input stream over a file on disk, read from its start. Failures carry the system's error
// (domain "NSPOSIXErrorDomain", the errno).

#include <string>

#include "platform/net/InputStream.h"

namespace pf {

class FileInputStream : public InputStream {
 public:
  explicit FileInputStream(std::string path) : path_(std::move(path)) {}
  ~FileInputStream() override;
  FileInputStream(const FileInputStream&) = delete;
  FileInputStream& operator=(const FileInputStream&) = delete;

  bool open() override;
  long long read(std::uint8_t* buffer, std::size_t maxLength) override;
  void close() override;
  ErrorPtr error() const override { return error_; }

 private:
  void fail(int code);

  const std::string path_;
  int fd_ = -1;
  ErrorPtr error_;
};

}  // namespace pf
