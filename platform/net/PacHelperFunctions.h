#pragma once
// The functions every proxy auto-configuration script may call: isPlainHostName, dnsDomainIs,
// localHostOrDomainIs, isResolvable, isInNet, dnsResolve, myIpAddress, dnsDomainLevels, shExpMatch,
// weekdayRange, dateRange and timeRange (and alert, which scripts use for tracing and which does
// nothing here). Name lookups and the machine's own address come from the host given; the day and time
// from the heap's clock, in local time unless a rule ends with "GMT". Addresses are IPv4, as scripts
// expect of these functions.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/net/ScriptHeap.h"

namespace pf {

class PacHelperFunctions {
 public:
  // A host name to an IPv4 address in dotted form; nullopt when it does not resolve.
  using Resolver = std::function<std::optional<std::string>(std::string_view host)>;

  // What a script learns of the machine.
  struct Host {
    // Empty: the system's lookup, waited for no longer than the script may run.
    Resolver resolve;
    // Empty: the first IPv4 address of a running interface other than loopback, else "127.0.0.1".
    std::function<std::string()> ownAddress;
    // The clock of Date and the time rules (given to the heap); empty: the system clock.
    ScriptHeap::Clock now;
  };

  // Matching work one shExpMatch call may do before it fails the script.
  static constexpr std::size_t kMaxMatchSteps = 10'000'000;

  // Defines the functions in the heap; host must outlive every use of the heap. false when the heap
  // could not take them (no memory).
  static bool install(ScriptHeap& heap, const Host& host, std::string& failure);

  // "*" matches any run of characters, "?" any one character, everything else itself. nullopt when the
  // match would take more than the steps given.
  static std::optional<bool> shellExpressionMatches(std::string_view text, std::string_view pattern,
                                                    std::size_t maxSteps = kMaxMatchSteps);
  // The system's lookup, waited for until the deadline.
  static std::optional<std::string> systemResolve(std::string_view host,
                                                  std::chrono::steady_clock::time_point deadline);
  static std::string systemOwnAddress();
};

}  // namespace pf
