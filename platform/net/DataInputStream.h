#pragma once
// An input stream over bytes held in memory (a copy taken at construction).

#include "platform/foundation/Value.h"
#include "platform/net/InputStream.h"

namespace pf {

class DataInputStream : public InputStream {
 public:
  explicit DataInputStream(Data data) : data_(std::move(data)) {}

  bool open() override { return true; }
  long long read(std::uint8_t* buffer, std::size_t maxLength) override;
  void close() override {}
  ErrorPtr error() const override { return nullptr; }

 private:
  const Data data_;
  std::size_t offset_ = 0;
};

}  // namespace pf
