#pragma once
// The reachability flag word and its bits, with the values the original platform used so that the
// word can be logged and compared as the system always did.

#include <cstdint>

namespace pf {

using ReachabilityFlags = std::uint32_t;

inline constexpr ReachabilityFlags kReachabilityFlagsTransientConnection = 1u << 0;
inline constexpr ReachabilityFlags kReachabilityFlagsReachable = 1u << 1;
inline constexpr ReachabilityFlags kReachabilityFlagsConnectionRequired = 1u << 2;
inline constexpr ReachabilityFlags kReachabilityFlagsConnectionOnTraffic = 1u << 3;
inline constexpr ReachabilityFlags kReachabilityFlagsInterventionRequired = 1u << 4;
inline constexpr ReachabilityFlags kReachabilityFlagsConnectionOnDemand = 1u << 5;
inline constexpr ReachabilityFlags kReachabilityFlagsIsLocalAddress = 1u << 16;
inline constexpr ReachabilityFlags kReachabilityFlagsIsDirect = 1u << 17;
inline constexpr ReachabilityFlags kReachabilityFlagsIsWWAN = 1u << 18;

}  // namespace pf
