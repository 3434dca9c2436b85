#pragma once
// Random (version 4) UUIDs. The system's keys are the dashless upper-case form.

#include <array>
#include <cstdint>
#include <string>

namespace pf {

class Uuid {
 public:
  static Uuid random();

  // "E621E1F8-C36C-495A-93FC-0C247A3E6E5F": 36 characters, upper case.
  std::string text() const;
  // "E621E1F8C36C495A93FC0C247A3E6E5F": 32 upper-case hexadecimal digits.
  std::string dashless() const;
  const std::array<std::uint8_t, 16>& bytes() const { return bytes_; }

 private:
  Uuid() = default;
  std::array<std::uint8_t, 16> bytes_{};
};

}  // namespace pf
