#pragma once
// The device's hardware address, used to tell devices apart.

#include <optional>
#include <string>

class NICInformation {
 public:
  // 12 upper-case hexadecimal characters of the named interface's hardware address, by default of
  // the first interface that is up and has one; nullopt (after logging why) when there is none.
  static std::optional<std::string> macaddress(
      const std::optional<std::string>& interfaceName = std::nullopt);
};
