#pragma once
// Reads the machine's interfaces: addresses and link state from the kernel's interface list, the
// kind of link and the hardware address from the per-interface folders of sysfs. The sysfs root is a
// parameter so that the classification can be checked against a folder built by a test.
// Stateless apart from the root; safe to use from any thread.

#include <optional>
#include <string>
#include <vector>

#include "platform/net/NetworkInterface.h"

namespace pf {

class InterfaceScanner {
 public:
  explicit InterfaceScanner(std::string sysRoot = "/sys/class/net");

  // Every interface with its addresses; empty when the list cannot be read.
  std::vector<NetworkInterface> interfaces() const;
  // Wireless when the folder has "wireless", WWAN when its uevent says DEVTYPE=wwan, else wired.
  NetworkInterface::Kind kindOf(const std::string& name, bool loopback) const;

  bool exists(const std::string& name) const;
  // "xx:xx:xx:xx:xx:xx" in lower case; nullopt when the interface has no 6-byte hardware address.
  std::optional<std::string> hardwareAddress(const std::string& name) const;
  // Of the interfaces with a non-zero 6-byte hardware address (so never loopback), the first that is
  // up, by index; Linux has no fixed name for the primary interface.
  std::optional<std::string> defaultHardwareInterface() const;

 private:
  std::optional<std::string> readLine(const std::string& name, const std::string& file) const;
  std::string sysRoot_;
};

}  // namespace pf
