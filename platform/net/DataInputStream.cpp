#include "platform/net/DataInputStream.h"

#include <algorithm>
#include <cstring>

namespace pf {

long long DataInputStream::read(std::uint8_t* buffer, std::size_t maxLength) {
  const std::size_t count = std::min(maxLength, data_.size() - offset_);
  if (count > 0) std::memcpy(buffer, data_.data() + offset_, count);
  offset_ += count;
  return static_cast<long long>(count);
}

}  // namespace pf
