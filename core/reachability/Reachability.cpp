#include "core/reachability/Reachability.h"

#include <array>
#include <cstdint>
#include <cstring>

#include "platform/foundation/Error.h"
#include "platform/foundation/Log.h"
#include "platform/foundation/NotificationCenter.h"
#include "platform/foundation/RunLoop.h"

namespace {

constexpr char kLocalWiFiKey[] = "LocalWiFiConnection";
constexpr in_addr_t kLinkLocalNetwork = 0xA9FE0000;  // 169.254.0.0

std::shared_ptr<Reachability> withAddress(const sockaddr_in& address, std::string key) {
  std::shared_ptr<Reachability> reachability = Reachability::reachabilityWithAddress(address);
  if (reachability) reachability->setKey(std::move(key));
  return reachability;
}

sockaddr_in ipv4Address(in_addr_t addr) {
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = addr;
  return address;
}

bool has(pf::ReachabilityFlags flags, pf::ReachabilityFlags bit) {
  return (flags & bit) != 0;
}

}  // namespace

std::shared_ptr<Reachability> Reachability::reachabilityWithHostName(const std::string& hostName) {
  std::unique_ptr<pf::NetworkReachability> ref = pf::NetworkReachability::withHostName(hostName);
  if (!ref) return nullptr;
  auto reachability = std::make_shared<Reachability>(std::move(ref));
  reachability->key_ = hostName;
  return reachability;
}

std::shared_ptr<Reachability> Reachability::reachabilityWithAddress(const sockaddr_in& hostAddress) {
  if (hostAddress.sin_family != AF_INET) return nullptr;
  std::array<std::uint8_t, 4> bytes{};
  std::memcpy(bytes.data(), &hostAddress.sin_addr.s_addr, bytes.size());
  auto reachability =
      std::make_shared<Reachability>(pf::NetworkReachability::withAddress(pf::IpAddress::v4(bytes)));
  reachability->key_ = makeAddressKey(hostAddress.sin_addr.s_addr);
  return reachability;
}

std::shared_ptr<Reachability> Reachability::reachabilityForInternetConnection() {
  return withAddress(ipv4Address(htonl(INADDR_ANY)), "InternetConnection");
}

std::shared_ptr<Reachability> Reachability::reachabilityForLocalWiFi() {
  return withAddress(ipv4Address(htonl(kLinkLocalNetwork)), kLocalWiFiKey);
}

std::string Reachability::makeAddressKey(in_addr_t addr) {
  unsigned char bytes[4];
  std::memcpy(bytes, &addr, sizeof bytes);
  return pf::format("%d.%d.%d.%d", bytes[0], bytes[1], bytes[2], bytes[3]);
}

std::string Reachability::flagsText(pf::ReachabilityFlags flags) {
  auto letter = [flags](pf::ReachabilityFlags bit, char c) { return has(flags, bit) ? c : '-'; };
  std::string text = "Reachability Flags: ";
  text += letter(pf::kReachabilityFlagsIsWWAN, 'W');
  text += letter(pf::kReachabilityFlagsReachable, 'R');
  text += ' ';
  text += letter(pf::kReachabilityFlagsConnectionRequired, 'c');
  text += letter(pf::kReachabilityFlagsTransientConnection, 't');
  text += letter(pf::kReachabilityFlagsInterventionRequired, 'i');
  text += letter(pf::kReachabilityFlagsConnectionOnTraffic, 'C');
  text += letter(pf::kReachabilityFlagsConnectionOnDemand, 'D');
  text += letter(pf::kReachabilityFlagsIsLocalAddress, 'l');
  text += letter(pf::kReachabilityFlagsIsDirect, 'd');
  return text;
}

Reachability::Reachability(std::unique_ptr<pf::NetworkReachability> reachabilityRef)
    : reachabilityRef(std::move(reachabilityRef)) {}

bool Reachability::startNotifier() {
  std::weak_ptr<pf::Object> weakSelf = weak_from_this();
  if (!reachabilityRef || weakSelf.expired()) return false;
  reachabilityRef->setCallback([weakSelf](pf::ReachabilityFlags) {
    std::shared_ptr<pf::Object> self = weakSelf.lock();
    if (!self) return;  // released while the change was on its way
    pf::NotificationCenter::defaultCenter().post(kReachabilityChangedNotification,
                                                 std::static_pointer_cast<Reachability>(self));
  });
  return reachabilityRef->scheduleWithRunLoop(pf::RunLoop::current(), pf::RunLoop::kDefaultMode);
}

void Reachability::stopNotifier() {
  if (reachabilityRef)
    reachabilityRef->unscheduleFromRunLoop(pf::RunLoop::current(), pf::RunLoop::kDefaultMode);
}

const pf::NetworkReachability& Reachability::ref(const char* operation) const {
  if (!reachabilityRef)
    throw pf::ContractViolation(pf::format("%s called with NULL reachabilityRef", operation));
  return *reachabilityRef;
}

void Reachability::logFlags(const char* operation, pf::ReachabilityFlags flags,
                            int line) const {
  pf::logf("%s (%d) \n\t%@", operation, line, flagsText(flags));
}

NetworkStatus Reachability::currentReachabilityStatus() const {
  std::optional<pf::ReachabilityFlags> flags = ref("currentReachabilityStatus").flags();
  return flags ? networkStatusForFlags(*flags) : NetworkStatus::NotReachable;
}

bool Reachability::isReachable() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isReachable").flags();
  return flags && networkStatusForFlags(*flags) != NetworkStatus::NotReachable;
}

bool Reachability::isReachableViaWWAN() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isReachableViaWWAN").flags();
  if (!flags) return false;
  logFlags("isReachableViaWWAN", *flags, __LINE__);
  return networkStatusForFlags(*flags) == NetworkStatus::ReachableViaWWAN;
}

bool Reachability::isReachableViaWiFi() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isReachableViaWiFi").flags();
  if (!flags) return false;
  logFlags("isReachableViaWiFi", *flags, __LINE__);
  return networkStatusForFlags(*flags) == NetworkStatus::ReachableViaWiFi;
}

bool Reachability::isConnectionRequired() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isConnectionRequired").flags();
  if (!flags) return false;
  logFlags("isConnectionRequired", *flags, __LINE__);
  return has(*flags, pf::kReachabilityFlagsConnectionRequired);
}

bool Reachability::isConnectionOnDemand() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isConnectionIsOnDemand").flags();
  if (!flags) return false;
  logFlags("isConnectionOnDemand", *flags, __LINE__);
  return has(*flags, pf::kReachabilityFlagsConnectionRequired) &&
         has(*flags, pf::kReachabilityFlagsConnectionOnTraffic | pf::kReachabilityFlagsConnectionOnDemand);
}

bool Reachability::isInterventionRequired() const {
  std::optional<pf::ReachabilityFlags> flags = ref("isInterventionRequired").flags();
  if (!flags) return false;
  logFlags("isInterventionRequired", *flags, __LINE__);
  return has(*flags, pf::kReachabilityFlagsConnectionRequired) &&
         has(*flags, pf::kReachabilityFlagsInterventionRequired);
}

pf::ReachabilityFlags Reachability::reachabilityFlags() const {
  std::optional<pf::ReachabilityFlags> flags = ref("reachabilityFlags").flags();
  if (!flags) return 0;
  logFlags("reachabilityFlags", *flags, __LINE__);
  return *flags;
}

NetworkStatus Reachability::networkStatusForFlags(pf::ReachabilityFlags flags) const {
  if (!has(flags, pf::kReachabilityFlagsReachable)) return NetworkStatus::NotReachable;
  if (key_ == kLocalWiFiKey) {
    return has(flags, pf::kReachabilityFlagsIsDirect) ? NetworkStatus::ReachableViaWiFi
                                                      : NetworkStatus::NotReachable;
  }
  if (has(flags, pf::kReachabilityFlagsIsWWAN)) return NetworkStatus::ReachableViaWWAN;
  pf::ReachabilityFlags rest = flags & ~(pf::kReachabilityFlagsReachable | pf::kReachabilityFlagsIsDirect |
                                         pf::kReachabilityFlagsIsLocalAddress);
  if (rest == (pf::kReachabilityFlagsConnectionRequired | pf::kReachabilityFlagsTransientConnection)) {
    return NetworkStatus::NotReachable;
  }
  if (rest == 0 ||
      has(rest, pf::kReachabilityFlagsTransientConnection | pf::kReachabilityFlagsConnectionRequired)) {
    return NetworkStatus::ReachableViaWiFi;
  }
  return NetworkStatus::NotReachable;
}

std::string Reachability::description() const {
  if (!reachabilityRef) throw pf::ContractViolation("-description called with NULL reachabilityRef");
  return pf::format("%@\n\t%@", key_, flagsText(reachabilityRef->flags().value_or(0)));
}
