#include "core/reachability/NICInformation.h"

#include <algorithm>
#include <cctype>

#include "platform/foundation/Log.h"
#include "platform/net/InterfaceScanner.h"

std::optional<std::string> NICInformation::macaddress(const std::optional<std::string>& interfaceName) {
  pf::InterfaceScanner scanner;
  std::optional<std::string> name = interfaceName ? interfaceName : scanner.defaultHardwareInterface();
  if (!name || !scanner.exists(*name)) {
    pf::Log::write("Error: if_nametoindex error/n");
    return std::nullopt;
  }
  std::optional<std::string> address = scanner.hardwareAddress(*name);
  if (!address) {
    pf::Log::write("Error: sysctl, take 2");
    return std::nullopt;
  }
  std::erase(*address, ':');
  std::transform(address->begin(), address->end(), address->begin(),
                 [](unsigned char c) { return std::toupper(c); });
  return address;
}
