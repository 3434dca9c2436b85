#pragma once
// One watched network target: its reachability flags, the status they mean (not reachable, mobile
// network, Wi-Fi), and a change notification once the notifier is started.
//
// Threads: the status and test operations read the flags synchronously on the calling thread and
// work from any thread. startNotifier/stopNotifier belong to the thread whose run loop delivers the
// notification. Objects are shared: the notifier needs the object to be owned by a shared_ptr.

#include <netinet/in.h>

#include <memory>
#include <string>

#include "platform/net/NetworkReachability.h"
#include "platform/net/ReachabilityFlags.h"
#include "platform/runtime/ClassBuilder.h"

enum class NetworkStatus { NotReachable = 0, ReachableViaWWAN = 1, ReachableViaWiFi = 2 };

inline constexpr char kReachabilityChangedNotification[] = "NetworkReachabilityChangedNotification";

class Reachability : public pf::Object {
  PF_OBJECT(Reachability, pf::Object)

  static void declareProperties(pf::ClassBuilder<Reachability>& b) { b.property("key", &Reachability::key_); }

  // nullptr for an empty host name or an address that is not IPv4.
  static std::shared_ptr<Reachability> reachabilityWithHostName(const std::string& hostName);
  static std::shared_ptr<Reachability> reachabilityWithAddress(const sockaddr_in& hostAddress);
  static std::shared_ptr<Reachability> reachabilityForInternetConnection();
  static std::shared_ptr<Reachability> reachabilityForLocalWiFi();
  // "a.b.c.d" of an address in network byte order.
  static std::string makeAddressKey(in_addr_t addr);
  // "Reachability Flags: WR ctiCDld" with "-" for every clear bit.
  static std::string flagsText(pf::ReachabilityFlags flags);

  // Takes ownership of the reference. Without one, the status and test operations throw.
  explicit Reachability(std::unique_ptr<pf::NetworkReachability> reachabilityRef);

  const std::string& key() const { return key_; }
  void setKey(std::string key) { key_ = std::move(key); }

  // Posts kReachabilityChangedNotification on this thread's run loop when the flags change.
  bool startNotifier();
  void stopNotifier();

  NetworkStatus currentReachabilityStatus() const;
  bool isReachable() const;
  bool isReachableViaWWAN() const;
  bool isReachableViaWiFi() const;
  bool isConnectionRequired() const;
  bool connectionRequired() const { return isConnectionRequired(); }
  bool isConnectionOnDemand() const;
  bool isInterventionRequired() const;
  // 0 when the flags cannot be read.
  pf::ReachabilityFlags reachabilityFlags() const;
  NetworkStatus networkStatusForFlags(pf::ReachabilityFlags flags) const;
  std::string description() const override;

  bool operator==(const Reachability& other) const { return key_ == other.key_; }

 private:
  const pf::NetworkReachability& ref(const char* operation) const;
  // The line each test leaves once the flags were read, with the source line that read them (passed
  // as __LINE__: clang 14 has no std::source_location).
  void logFlags(const char* operation, pf::ReachabilityFlags flags, int line) const;

  std::string key_;
  std::unique_ptr<pf::NetworkReachability> reachabilityRef;
};
